#include "print/pagerelay.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace talik {

std::uint32_t PageRecording::keepText(std::string_view utf8)
{
    auto from = static_cast<std::uint32_t>(m_texts.size());
    m_texts.append(utf8);
    return from;
}

std::string_view PageRecording::textAt(std::uint32_t from, std::uint32_t size) const
{
    return std::string_view(m_texts).substr(from, size);
}

void PageRecording::setFont(const std::string& name, double sizePoints)
{
    m_steps.push_back({Op::Font, sizePoints, 0, 0, 0, keepText(name), static_cast<std::uint32_t>(name.size())});
}

void PageRecording::drawText(double xMm, double yMm, std::string_view utf8)
{
    m_steps.push_back({Op::Text, xMm, yMm, 0, 0, keepText(utf8), static_cast<std::uint32_t>(utf8.size())});
}

void PageRecording::drawRow(double yMm, std::span<const PlacedText> pieces)
{
    auto from = static_cast<std::uint32_t>(m_pieces.size());
    for (const PlacedText& piece : pieces) {
        m_pieces.push_back({piece.xMm, keepText(piece.utf8), static_cast<std::uint32_t>(piece.utf8.size())});
    }
    m_steps.push_back({Op::Row, yMm, 0, 0, 0, from, static_cast<std::uint32_t>(pieces.size())});
}

void PageRecording::drawBox(double xMm, double yMm, double widthMm, double heightMm)
{
    m_steps.push_back({Op::Box, xMm, yMm, widthMm, heightMm});
}

void PageRecording::newPage()
{
    m_steps.push_back({Op::NewPage});
}

void PageRecording::clear()
{
    m_steps.push_back({Op::Clear});
}

void PageRecording::replayOn(Canvas& canvas) const
{
    std::vector<PlacedText> row;
    for (const Step& step : m_steps) {
        switch (step.op) {
        case Op::Font:
            canvas.setFont(std::string(textAt(step.from, step.count)), step.a);
            break;
        case Op::Text:
            canvas.drawText(step.a, step.b, textAt(step.from, step.count));
            break;
        case Op::Row:
            row.clear();
            for (std::uint32_t i = step.from; i < step.from + step.count; ++i) {
                row.push_back({m_pieces[i].xMm, textAt(m_pieces[i].from, m_pieces[i].size)});
            }
            canvas.drawRow(step.a, row);
            break;
        case Op::Box:
            canvas.drawBox(step.a, step.b, step.c, step.d);
            break;
        case Op::NewPage:
            canvas.newPage();
            break;
        case Op::Clear:
            canvas.clear();
            break;
        }
    }
}

namespace {

// Pages on their way from the drawing thread to the paper, and the paper's answer to the end.
class PageChannel
{
public:
    void send(PageRecording page)
    {
        {
            std::lock_guard lock(m_mutex);
            m_pages.push_back(std::move(page));
        }
        m_changed.notify_all();
    }

    // No more pages; with `endPaper`, the paper is to be ended and its answer is waited for.
    bool close(bool endPaper)
    {
        std::unique_lock lock(m_mutex);
        if (!m_closed) {
            m_closed = true;
            m_endPaper = endPaper;
            m_changed.notify_all();
        }
        if (!m_endPaper) {
            return false;
        }
        m_changed.wait(lock, [&] { return m_ended; });
        return m_endAnswer;
    }

    // The next page, or none once the channel is closed and empty.
    std::optional<PageRecording> next()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_pages.empty() || m_closed; });
        if (m_pages.empty()) {
            return std::nullopt;
        }
        PageRecording page = std::move(m_pages.front());
        m_pages.pop_front();
        return page;
    }

    bool paperToEnd()
    {
        std::lock_guard lock(m_mutex);
        return m_endPaper;
    }

    void ended(bool answer)
    {
        {
            std::lock_guard lock(m_mutex);
            m_ended = true;
            m_endAnswer = answer;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<PageRecording> m_pages;
    bool m_closed = false;
    bool m_endPaper = false;
    bool m_ended = false;
    bool m_endAnswer = false;
};

// The engine's side: measures on its own canvas, keeps the drawing, sends each page when the next
// one begins and the last when the document ends.
class RelayCanvas final : public Canvas
{
public:
    RelayCanvas(Canvas& measure, PageChannel& channel) : m_measure(measure), m_channel(channel) {}

    void setFont(const std::string& name, double sizePoints) override
    {
        m_measure.setFont(name, sizePoints);
        m_page.setFont(name, sizePoints);
    }
    std::string fontName() const override { return m_measure.fontName(); }
    double fontSize() const override { return m_measure.fontSize(); }
    double textWidth(std::string_view utf8) override { return m_measure.textWidth(utf8); }
    void drawText(double xMm, double yMm, std::string_view utf8) override { m_page.drawText(xMm, yMm, utf8); }
    void drawRow(double yMm, std::span<const PlacedText> pieces) override { m_page.drawRow(yMm, pieces); }
    void drawBox(double xMm, double yMm, double widthMm, double heightMm) override
    {
        m_page.drawBox(xMm, yMm, widthMm, heightMm);
    }
    void newPage() override
    {
        sendPage();
        m_page.newPage();
    }
    bool endDocument() override
    {
        sendPage();
        return m_channel.close(true);
    }
    void clear() override { m_page.clear(); }

private:
    void sendPage()
    {
        if (!m_page.empty()) {
            m_channel.send(std::exchange(m_page, {}));
        }
    }

    Canvas& m_measure;
    PageChannel& m_channel;
    PageRecording m_page;
};

// The paper's side: draws every page that comes, then ends the document when asked to. A page the
// paper throws on leaves the document unfinished, so the rest is dropped and the end answers false.
void DrawPages(PageChannel& channel, Canvas& paper)
{
    bool failed = false;
    while (auto page = channel.next()) {
        if (failed) {
            continue;
        }
        try {
            page->replayOn(paper);
        } catch (...) {
            failed = true;
        }
    }
    if (!channel.paperToEnd()) {
        return;
    }
    bool answer = false;
    try {
        answer = paper.endDocument() && !failed;
    } catch (...) {
    }
    channel.ended(answer);
}

} // namespace

void DrawAlongside(Canvas& paper,
                   const std::function<std::unique_ptr<Canvas>()>& makeMeasure,
                   const RelayedDrawing& draw)
{
    PageChannel channel;
    std::exception_ptr failure;
    std::thread drawing([&] {
        try {
            // Made, used and gone on this thread: the measuring fonts belong to it.
            std::unique_ptr<Canvas> measure = makeMeasure();
            RelayCanvas relay(*measure, channel);
            draw(relay);
        } catch (...) {
            failure = std::current_exception();
        }
        channel.close(false);
    });
    DrawPages(channel, paper);
    drawing.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace talik
