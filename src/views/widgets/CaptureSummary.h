#pragma once

#include "model/capture/CaptureReading.h"

namespace furrow {

// What a capture reading will file, in words for the chip bar and the field's description:
// "Tue 8 Dec", "Every Mon, Wed", "Every 2 weeks from done".
namespace CaptureSummary {

// The repeat when there is one, else the due day; empty when neither.
QString when(const CaptureReading &reading);
// "3 tasks" for text of several non-blank lines, each filed as a task of its own; else empty.
QString pastedTasks(const QString &text);
// Everything read, for the field's accessible description ("Project Home, Tue 8 Dec").
QString describe(const CaptureReading &reading);

} // namespace CaptureSummary
} // namespace furrow
