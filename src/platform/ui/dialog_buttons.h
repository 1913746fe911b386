#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QKeyEvent;
class QWidget;

namespace tarvik {

// "OK" (Button2, the default button) and the cancel button (Button1, with
// the caption given) right-aligned in a row, OK first, wired to accept and
// reject. Enter in a field gives OK; the cancel button never takes Enter.
QHBoxLayout* okCancelRow(QDialog* dialog, const QString& cancelCaption);

// A calculator's keyboard: a key typed without Ctrl or Alt clicks the button
// `buttonForKey` names for it. True when a button took the key.
bool clickButtonForKey(QWidget* window, const QKeyEvent* event, QString (*buttonForKey)(QChar key));

} // namespace tarvik
