#include "tests/support/recordingcanvas.h"

#include <stdexcept>

namespace talik::test {
namespace {

std::size_t CharacterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (unsigned char c : utf8) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

} // namespace

void RecordingCanvas::setFont(const std::string& name, double sizePoints)
{
    m_font = name;
    m_size = sizePoints;
    calls.push_back({"font", 0, 0, 0, 0, name, sizePoints, name});
}

double RecordingCanvas::textWidth(std::string_view utf8)
{
    return static_cast<double>(CharacterCount(utf8)) * charWidthMm * m_size / 10.0;
}

void RecordingCanvas::drawText(double xMm, double yMm, std::string_view utf8)
{
    calls.push_back({"text", xMm, yMm, 0, 0, std::string(utf8), m_size, m_font});
}

void RecordingCanvas::drawBox(double xMm, double yMm, double widthMm, double heightMm)
{
    calls.push_back({"box", xMm, yMm, widthMm, heightMm, {}, m_size, m_font});
}

std::vector<CanvasCall> RecordingCanvas::texts() const
{
    std::vector<CanvasCall> found;
    for (const auto& call : calls) {
        if (call.op == "text") {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<CanvasCall> RecordingCanvas::boxes() const
{
    std::vector<CanvasCall> found;
    for (const auto& call : calls) {
        if (call.op == "box") {
            found.push_back(call);
        }
    }
    return found;
}

const CanvasCall& RecordingCanvas::find(const std::string& text) const
{
    for (const auto& call : calls) {
        if (call.op == "text" && call.text == text) {
            return call;
        }
    }
    throw std::runtime_error("nothing drawn reads " + text);
}

int RecordingCanvas::count(const std::string& op) const
{
    int n = 0;
    for (const auto& call : calls) {
        n += call.op == op ? 1 : 0;
    }
    return n;
}

} // namespace talik::test
