#pragma once

#include "CaptureContext.h"
#include "CaptureReading.h"

namespace furrow {

// Reads capture text: the project token, one due day and one repeat, each only where an exact
// phrase of the grammar stands at word boundaries outside double quotes; what it takes leaves
// the title.
namespace CaptureParser {

CaptureReading read(const QString &text, const CaptureContext &context);

// The non-blank lines of pasted or typed text, each one capture; any line break counts.
QStringList lines(const QString &text);

// The text of a taken range as it is matched against CaptureContext::refused.
QString phraseText(const QString &text, const TakenRange &range);

} // namespace CaptureParser
} // namespace furrow
