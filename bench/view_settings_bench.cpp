// A full View Settings refresh (init code 0) on the real window with a 4500-entry archive
// list. Needs an X server: xvfb-run -a build/.../bench/view_settings_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <memory>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/platform/qt_dialog.h"
#include "ui/templates.h"
#include "ui/view_settings.h"

namespace {

void BM_FullRefreshWith4500Entries(benchmark::State& state) {
    view.model_loaded = 1;
    model.num_subobjects = 1;
    hog.num_entries = MAX_HOG_ENTRIES;
    hog.num_oof = MAX_HOG_ENTRIES;
    for (uint32_t i = 0; i < MAX_HOG_ENTRIES; ++i) {
        std::snprintf(hog.entries[i].name, sizeof hog.entries[i].name, "model%04u.oof", i);
        hog.oof_entries[i] = i;
    }
    QtDialog dialog(*find_dialog_template(DIALOG_VIEW_SETTINGS),
                    std::make_unique<ViewSettingsProcedure>(), nullptr);
    dialog.start();
    QApplication::processEvents();
    for (auto _ : state) {
        dialog.init(0);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FullRefreshWith4500Entries)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
