#include "scanner/ErrorSink.h"

namespace Lex {

void endMessage(ErrorSink& sink)
{
    sink.endMessage();
}

} // namespace Lex
