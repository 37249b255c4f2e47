// The main of the benchmark programs that need a QApplication: offscreen, and with only the
// built-in "PDF file" printer unless the environment says otherwise, so figures do not depend
// on the printers of the machine.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUILLBANK_PRINTERS")) qputenv("QUILLBANK_PRINTERS", "pdf");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
