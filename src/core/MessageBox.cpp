#include "MessageBox.h"

namespace tobx {

QString Message::shownTitle() const
{
    return title.isEmpty() ? QString::fromLatin1(kProgramName) : title;
}

} // namespace tobx
