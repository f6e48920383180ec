// Adding, looking up and removing customers the way the program does it: the
// record in the collection and the account number in the main window's sorted
// list. Reports the time per operation at 1,000, 10,000 and 100,000 customers.
#include "RecordingPrinter.h"
#include "data/CCustomers.h"
#include "main_window/frmMain.h"

#include <QApplication>
#include <QListWidget>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

// Distinct account numbers in random order, so the sorted list inserts all over.
QStringList accountNumbers(int count)
{
    QStringList numbers;
    numbers.reserve(count);
    for (int i = 0; i < count; ++i)
        numbers << QStringLiteral("SM%1").arg(i, 6, 10, QLatin1Char('0')) +
                       QStringLiteral("12/31/04");
    QRandomGenerator random(42);
    std::shuffle(numbers.begin(), numbers.end(), random);
    return numbers;
}

void add(CCustomers &customers, QListWidget &list, const QString &number)
{
    list.addItem(number);
    customers.Add(number, QStringLiteral("Smith"), QStringLiteral("Ann"),
                  QStringLiteral("1 Elm St"), QStringLiteral("Springfield"), QStringLiteral("IL"),
                  QStringLiteral("01234"), QStringLiteral("12/31/04"), QStringLiteral("Spiegel"));
}

benchmark::Counter perOperation(int operations)
{
    return benchmark::Counter(operations, benchmark::Counter::kIsIterationInvariantRate |
                                              benchmark::Counter::kInvert);
}

struct Fixture
{
    RecordingPrinter printer;
    frmMain window{printer};
    QListWidget &list = *window.findChild<QListWidget *>(QStringLiteral("lstCustomer"));
    CCustomers customers;

    Fixture() { window.show(); }
};

void BM_Add(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QStringList numbers = accountNumbers(count);
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        state.ResumeTiming();
        // Each add is one user action: the event loop runs before the next.
        for (const QString &number : numbers) {
            add(fixture->customers, fixture->list, number);
            QCoreApplication::processEvents();
        }
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
    }
    state.counters["per_add"] = perOperation(count);
}

void BM_LookUp(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QStringList numbers = accountNumbers(count);
    Fixture fixture;
    for (const QString &number : numbers)
        add(fixture.customers, fixture.list, number);
    for (auto _ : state) {
        for (const QString &number : numbers)
            benchmark::DoNotOptimize(fixture.customers.Item(number));
    }
    state.counters["per_lookup"] = perOperation(count);
}

// Removes as the remove command does: the entry at the selected row from the
// list, then the record under that entry's text from the collection.
void BM_Remove(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QStringList numbers = accountNumbers(count);
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        for (const QString &number : numbers)
            add(fixture->customers, fixture->list, number);
        QCoreApplication::processEvents();
        QRandomGenerator random(7);
        state.ResumeTiming();
        while (fixture->list.count() > 0) {
            const int row = random.bounded(fixture->list.count());
            fixture->list.setCurrentRow(row);
            std::unique_ptr<QListWidgetItem> item(fixture->list.takeItem(row));
            fixture->customers.Remove(item->text());
            QCoreApplication::processEvents();
        }
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
    }
    state.counters["per_remove"] = perOperation(count);
}

} // namespace

BENCHMARK(BM_Add)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LookUp)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Remove)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
