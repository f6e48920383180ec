#include "RecordingPrinter.h"
#include "data/CCustomers.h"
#include "printing/Labels.h"
#include "printing/SystemPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

// Composing and printing all labels, to the recording printer and, laid out
// on pages as the printer's are, to a PDF file. Time and memory must grow
// linearly with the number of customers: run with --benchmark_filter to see
// one case's figures alone.
namespace {

CCustomers customers(int count)
{
    CCustomers result;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        result.Add("AC" + n, "Lastname" + n, "Firstname" + n, n + " Elm Street", "Springdale", "IL",
                   "01234", "12/31/04", "Spiegel");
    }
    return result;
}

long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

// The process's peak resident memory over the timed loop. The kernel's
// high-water mark is reset first, but the heap keeps what earlier cases
// freed: run one case alone for its own figure.
class PeakMemory
{
public:
    PeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
    void report(benchmark::State &state) const
    {
        state.counters["peak_MiB"] = statusKiB("VmHWM:") / 1024.0;
    }
};

void allLabelsToRecordingPrinter(benchmark::State &state)
{
    const CCustomers all = customers(int(state.range(0)));
    const PeakMemory memory;
    for (auto _ : state) {
        RecordingPrinter printer;
        benchmark::DoNotOptimize(printAllLabels(printer, all));
        if (printer.jobs.size() != 1 || printer.jobs.first().size() != 7 * state.range(0))
            state.SkipWithError("wrong number of lines");
    }
    memory.report(state);
    state.SetComplexityN(state.range(0));
}

void allLabelsToPdf(benchmark::State &state)
{
    const CCustomers all = customers(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath("labels.pdf");
    SystemPrinter printer(path);
    const PeakMemory memory;
    for (auto _ : state)
        if (printAllLabels(printer, all) != PrintOutcome::Printed)
            state.SkipWithError("the PDF could not be written");
    memory.report(state);
    state.counters["pdf_KiB"] = QFileInfo(path).size() / 1024.0;
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(allLabelsToRecordingPrinter)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(allLabelsToPdf)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    // Fonts and QPrinter need a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
