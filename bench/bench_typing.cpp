// One key press in a full box of the customer form: a character typed at the
// end of the text, and Backspace, each followed by the box's repaint. Reports
// the time per key press for each box at several lengths of text, in plain
// Latin letters and in a mix of scripts that needs several fonts.
#include "RecordingPrinter.h"
#include "customer_form/frmMailingLabels.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

const char *const Boxes[] = {"txtLastName", "txtFirstName", "txtStreet",         "txtCity",
                             "txtState",    "txtZipCode",   "txtExpirationDate", "cboCatalog"};

QString textOfLength(bool mixedScripts, qsizetype length)
{
    const QString unit =
        mixedScripts ? QStringLiteral("Müller 東京 שלום مرحبا नमस्ते 😀 ") : QStringLiteral("Smith ");
    QString text = unit.repeated(length / unit.size() + 1).left(length);
    // Never end on half a surrogate pair.
    if (text.back().isHighSurrogate())
        text.back() = u'x';
    return text;
}

void BM_KeyPress(benchmark::State &state)
{
    const char *name = Boxes[state.range(0)];
    const qsizetype length = state.range(1);
    const bool mixedScripts = state.range(2) != 0;

    RecordingPrinter printer;
    QListWidget list;
    frmMailingLabels form(&list, printer);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("the form was not shown");
        return;
    }
    QLineEdit *box = qstrcmp(name, "cboCatalog") == 0
                         ? form.findChild<QComboBox *>(QString::fromUtf8(name))->lineEdit()
                         : form.findChild<QLineEdit *>(QString::fromUtf8(name));
    box->setText(textOfLength(mixedScripts, length - 1));
    box->setFocus();
    box->end(false);
    box->repaint();

    for (auto _ : state) {
        QTest::keyClick(box, Qt::Key_X);
        box->repaint();
        QTest::keyClick(box, Qt::Key_Backspace);
        box->repaint();
    }
    state.SetLabel(std::string(name) + (mixedScripts ? ", mixed scripts" : ", Latin"));
    state.counters["per key press"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void lengths(benchmark::internal::Benchmark *bench)
{
    for (int mixed : {0, 1})
        for (int box = 0; box < int(std::size(Boxes)); ++box)
            for (int length : {1000, 2000, 4000, 8000, 32000})
                bench->Args({box, length, mixed});
}

} // namespace

BENCHMARK(BM_KeyPress)->Apply(lengths)->Unit(benchmark::kMillisecond)->MinTime(0.2);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
