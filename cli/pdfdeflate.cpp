// The compression of the PDF files this helper program writes.
//
// Qt's PDF writer compresses every page's drawing commands at zlib's default level, and it offers
// no setting for it. Those commands are short lines of text that repeat themselves (a glyph and its
// advance each), and on a job of a few thousand labels that compression was a fifth of the whole
// run. The fastest level makes a file about a third larger that reads the same in every viewer.
//
// zlib starts a stream through deflateInit_ (what its deflateInit macro calls). A program's own
// definition of an exported function comes before the shared library's, so this one is the one Qt
// calls; it starts the stream as zlib would, at the fastest level. Only this program has it:
// talik32's PDFs and printing keep the default.
#include <zlib.h>

extern "C" int deflateInit_(z_streamp stream, int /*level*/, const char* version, int streamSize)
{
    // zlib's own defaults for everything but the level (deflateInit takes no other parameter).
    constexpr int DefaultMemLevel = 8;
    return deflateInit2_(stream, Z_BEST_SPEED, Z_DEFLATED, MAX_WBITS, DefaultMemLevel, Z_DEFAULT_STRATEGY, version,
                         streamSize);
}
