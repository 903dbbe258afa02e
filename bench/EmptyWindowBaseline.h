#pragma once

#include <QCoreApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace furrow {

// The floor of the widget benchmarks: painting an empty window of the same size.
inline void paintEmptyWindow(benchmark::State &state, QSize size)
{
    QWidget window;
    window.resize(size);
    window.setAutoFillBackground(true);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(window.grab());
}

} // namespace furrow
