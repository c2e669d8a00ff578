#pragma once
// How an engine ends a card or page it cannot draw: with one message to the user, that the printer or
// the font settings are at fault, so that a print loop goes on with the next one.
#include <exception>
#include <functional>

#include "print/printjob.h"

namespace talik {

// A failure an engine finds itself (a layout that leaves nothing to draw, a record it cannot read),
// told to the user as a printer or font problem.
struct DrawingFailure : std::exception
{
};

// Clears the preview and runs `draw`. Any exception it throws, a DrawingFailure or one of the printer or
// a font, ends the drawing with the printer-or-font message; false then.
bool DrawOrTell(PrintJob& job, const std::function<void()>& draw);

} // namespace talik
