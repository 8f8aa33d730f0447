#include "widgets/design_font.h"

#include <QFontDatabase>
#include <QStringList>

QFont DesignFont(int pixelSize)
{
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        font.setFamilies({QStringLiteral("Tahoma")});
    } else {
        font.setFamilies({QStringLiteral("DejaVu Sans")});
        font.setStretch(QFont::SemiCondensed);
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}
