#pragma once
// What the main window's files share: its colours and fonts and how its labels take a colour.
#include "colormodel/TColor.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>

namespace tintara::mainwindow {

inline constexpr TColor kNavy = 0x800000;

inline QColor qcolor(TColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
inline TColor tcolor(const QColor& c)
{
    return rgbColor(c.red(), c.green(), c.blue());
}

inline QFont arial(int pixelHeight, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

inline void setLabelColors(QLabel* label, TColor background, TColor text)
{
    QPalette pal = label->palette();
    const QColor bg = qcolor(background);
    const QColor fg = qcolor(text);
    if (pal.color(QPalette::Window) == bg && pal.color(QPalette::WindowText) == fg)
        return;
    pal.setColor(QPalette::Window, bg);
    pal.setColor(QPalette::WindowText, fg);
    label->setPalette(pal);
}

} // namespace tintara::mainwindow
