// SPDX-License-Identifier: MIT
#include "QtMessageBox.h"

#include "StayOnTop.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace tobx {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(MsgResult button)
{
    switch (button) {
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::YesToAll:
        return QMessageBox::YesToAll;
    case MsgResult::NoToAll:
        return QMessageBox::NoToAll;
    case MsgResult::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNoToAll:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll;
    case MsgButtons::YesNoCancelToAll:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

MsgResult QtMessageBox::show(const Message& message)
{
    QMessageBox box(qtIcon(message.icon), message.shownTitle(), message.text, qtButtons(message.buttons), m_parent);
    // Paths may hold '<' or '&'; the text is shown as it is.
    box.setTextFormat(Qt::PlainText);
    if (QAbstractButton* standard = box.button(qtButton(message.defaultButton)))
        box.setDefaultButton(static_cast<QPushButton*>(standard));
    // With "No to All" beside No, Qt cannot tell which one Escape means.
    if (message.buttons == MsgButtons::YesNoToAll)
        box.setEscapeButton(QMessageBox::No);
    if (message.fixedPitch) {
        // The path dump pads its labels so that the values line up.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
    KeepAboveStayOnTopWindows(&box);

    // An operation shows its questions under the wait pointer of the Go
    // button; the box itself takes the normal pointer meanwhile.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();

    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::YesToAll:
        return MsgResult::YesToAll;
    case QMessageBox::NoToAll:
        return MsgResult::NoToAll;
    case QMessageBox::Ok:
        return MsgResult::Ok;
    default:
        break;
    }
    // Closed without a button: the cautious answer, never an agreement to
    // overwrite.
    switch (message.buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoToAll:
        return MsgResult::No;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNoCancelToAll:
        return MsgResult::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return MsgResult::Ok;
}

} // namespace tobx
