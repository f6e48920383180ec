#pragma once

class QPushButton;

// Makes a button's caption fully readable within the button's fixed size: it
// stays on one line when it fits, else breaks at the space that balances the
// two lines best, and only then steps the font down (and to a condensed face)
// until the text fits. The access key is kept.
void fitCaption(QPushButton *button);
