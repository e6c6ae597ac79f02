// Recognizer of comments, piece by piece: "//" or "/*", then the text of a
// single-line comment, or the pieces of a multi-line one up to its "*/".
#pragma once

#include "scanner/TableRecognizer.h"

namespace Lex {

class ScanBuffer;

class CCommentRecognizer {
public:
    enum Mode { outside = 0, single_line = 1, multi_line = 2 };

    // "//" (256) and "/*" (257).
    static TableRecognizer const& comment_recognizer();
    // The text of a single-line comment up to its newline (259).
    static TableRecognizer const& sl_comment_recognizer();
    // One piece of a multi-line comment: text (259) or "*/" (258).
    static TableRecognizer const& ml_comment_recognizer();

    CCommentRecognizer() : mode(outside) {}

    // The next comment piece for the current mode: 1 with its type and
    // length, 0 when no comment piece stands here, -1 on a buffer error.
    int recognize(ScanBuffer* b, int& type, int& len);

    int mode;
};

} // namespace Lex
