#pragma once
// Drawing a job on two threads at once. The engines spend their time choosing what goes where
// (breaking addresses, fitting names, measuring text); a PDF writer or a printer spends its time
// putting it on the page. A relay canvas takes an engine's drawing on one thread, answering its
// measurements from a canvas of its own, and hands each finished page to the paper, which draws it
// on the other: the pages come out the same, in the same order, as if the engine drew on the paper.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "print/canvas.h"

namespace talik {

// The drawing of one page, kept to be drawn again on another canvas.
class PageRecording
{
public:
    void setFont(const std::string& name, double sizePoints);
    void drawText(double xMm, double yMm, std::string_view utf8);
    void drawRow(double yMm, std::span<const PlacedText> pieces);
    void drawBox(double xMm, double yMm, double widthMm, double heightMm);
    void newPage();
    void clear();
    bool empty() const { return m_steps.empty(); }
    // Makes the same calls on `canvas`, in the same order.
    void replayOn(Canvas& canvas) const;

private:
    enum class Op : std::uint8_t
    {
        Font,
        Text,
        Row,
        Box,
        NewPage,
        Clear
    };
    // Texts lie in m_texts and a row's pieces in m_pieces, each step naming its span of them.
    struct Step
    {
        Op op;
        double a = 0, b = 0, c = 0, d = 0;
        std::uint32_t from = 0, count = 0;
    };
    struct Piece
    {
        double xMm;
        std::uint32_t from, size;
    };

    std::uint32_t keepText(std::string_view utf8);
    std::string_view textAt(std::uint32_t from, std::uint32_t size) const;

    std::vector<Step> m_steps;
    std::vector<Piece> m_pieces;
    std::string m_texts;
};

// What the drawing thread does, on the relay canvas it is given.
using RelayedDrawing = std::function<void(Canvas& relay)>;

// Runs `draw` on a thread of its own against a relay canvas whose measurements come from the canvas
// `makeMeasure` makes on that thread (it must measure as `paper` does), while this thread draws each
// page on `paper` as soon as it is finished. The relay's endDocument() ends `paper` and answers what
// it answered. An exception of `draw` comes out here once both threads stopped; when drawing on
// `paper` throws, the rest of the job is dropped and the relay's endDocument() answers false.
void DrawAlongside(Canvas& paper,
                   const std::function<std::unique_ptr<Canvas>()>& makeMeasure,
                   const RelayedDrawing& draw);

} // namespace talik
