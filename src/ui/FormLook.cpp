// SPDX-License-Identifier: MIT
#include "FormLook.h"

#include "CaptionButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

namespace tobx {

namespace {

// Below this the captions would no longer be readable.
constexpr int kSmallestPixelSize = 8;
// The frame and the text margins of a button's caption area.
constexpr int kButtonMargin = 2;
// The room a frame's title leaves for the frame's corners.
constexpr int kTitleMargin = 12;

QString withoutMnemonic(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

bool linesFit(const QFontMetrics& metrics, const QString& caption, int width, int height)
{
    const QStringList lines = withoutMnemonic(caption).split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest <= width && int(lines.size()) * metrics.height() <= height;
}

// The caption of a check box or an option button, beside its indicator.
bool indicatorCaptionFits(const QAbstractButton* button, const QFontMetrics& metrics, bool exclusive)
{
    const QStyle* style = button->style();
    const int indicator = style->pixelMetric(exclusive ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                             nullptr, button);
    const int spacing = style->pixelMetric(exclusive ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                                           nullptr, button);
    return linesFit(metrics, button->text(), button->width() - indicator - spacing, button->height());
}

bool wrappedCaptionFits(const CaptionButton* button, const QFontMetrics& metrics)
{
    const QRect area = button->rect().adjusted(kButtonMargin, kButtonMargin, -kButtonMargin, -kButtonMargin);
    const QRect needed = metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, button->text());
    return needed.width() <= area.width() && needed.height() <= area.height();
}

QFont sized(QFont font, int pixelSize, int stretch)
{
    font.setPixelSize(pixelSize);
    font.setStretch(stretch);
    return font;
}

} // namespace

bool CaptionsFit(const QWidget* form, const QFont& font)
{
    const QFontMetrics metrics(font);
    const QList<QWidget*> controls = form->findChildren<QWidget*>();
    for (const QWidget* control : controls) {
        bool fits = true;
        if (const auto* button = qobject_cast<const CaptionButton*>(control))
            fits = wrappedCaptionFits(button, metrics);
        else if (const auto* check = qobject_cast<const QCheckBox*>(control))
            fits = indicatorCaptionFits(check, metrics, false);
        else if (const auto* option = qobject_cast<const QRadioButton*>(control))
            fits = indicatorCaptionFits(option, metrics, true);
        else if (const auto* frame = qobject_cast<const QGroupBox*>(control))
            fits = metrics.horizontalAdvance(withoutMnemonic(frame->title())) <= frame->width() - kTitleMargin;
        if (!fits)
            return false;
    }
    return true;
}

QFont FittingFont(const QWidget* form)
{
    const QFont base = QApplication::font();
    const int largest = std::max(kSmallestPixelSize, QFontInfo(base).pixelSize());
    // The first width at which the captions fit at the larger size wins; at
    // equal sizes the family's normal width is kept.
    QFont best = sized(base, kSmallestPixelSize, QFont::Condensed);
    int bestSize = 0;
    for (const int stretch : {int(QFont::Unstretched), int(QFont::SemiCondensed), int(QFont::Condensed)}) {
        for (int size = largest; size > bestSize && size >= kSmallestPixelSize; --size) {
            const QFont candidate = sized(base, size, stretch);
            if (CaptionsFit(form, candidate)) {
                best = candidate;
                bestSize = size;
                break;
            }
        }
    }
    return best;
}

QPoint PlaceInside(const QRect& wanted, const QRect& area)
{
    int x = wanted.x();
    int y = wanted.y();
    if (x + wanted.width() > area.x() + area.width())
        x = area.x() + area.width() - wanted.width();
    if (y + wanted.height() > area.y() + area.height())
        y = area.y() + area.height() - wanted.height();
    return {std::max(x, area.x()), std::max(y, area.y())};
}

} // namespace tobx
