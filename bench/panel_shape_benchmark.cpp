// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// What shaping the panel window costs a frame while the body springs: the
// outline rasterised to the window's device pixels, at scale 1 and 2. The
// window's shapes are sent only when this region changed.

#include "views/notch_shape.h"
#include "views/panel_metrics.h"

#include <benchmark/benchmark.h>

namespace {

void outlinePixels(benchmark::State &state)
{
    const double scale = double(state.range(0));
    double height = 300;
    for (auto _ : state) {
        // A body partway open: the width, height and radius of any frame.
        height = height > 500 ? 300 : height + 0.37;
        const NotchShape shape{0, 8 + 10 * (height - 300) / 200, 0};
        const double width = height * 0.68;
        const QRectF body((PanelMetrics::windowWidth() - width) / 2, 0, width, height);
        benchmark::DoNotOptimize(shape.pixelRegion(body, scale));
    }
}
BENCHMARK(outlinePixels)->Arg(1)->Arg(2);

} // namespace

BENCHMARK_MAIN();
