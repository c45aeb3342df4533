#include "FormLook.h"

#include <QStringList>

namespace tobx {

QFont FormFont()
{
    QFont font;
    // The longest captions ("Select .lst to build archive or other to
    // convert...", "Create List File &Only") were laid out for a small
    // bitmap font; a condensed face at 10 px keeps them inside their controls.
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Arial Narrow"), QStringLiteral("Tahoma"), QStringLiteral("Sans Serif")});
    font.setPixelSize(10);
    return font;
}

} // namespace tobx
