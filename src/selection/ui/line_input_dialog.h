#pragma once

#include <QByteArray>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvik {

// The frame of the small one-line dialogs: Label1 and Edit1, Button1
// "Annuler" (the cancel button) and Button2 "OK". Enter in Edit1 accepts;
// Escape and the close box do not. Edit1 holds Windows-1252 text.
class LineInputDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Keys {
        Any,    // every character the file's code page can hold
        Digits, // 0..9; backspace, tab and other control keys pass
    };

    LineInputDialog(const QString& caption, const QString& label, Keys keys,
                    QWidget* parent = nullptr);

    void setText(const QByteArray& text);
    // The bytes of Edit1, as typed.
    QByteArray text() const;
    // The text of Edit1 when the dialog was accepted; empty otherwise.
    QByteArray value() const;

    QLineEdit* edit() const { return m_edit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Keys m_keys;
    QLabel* m_label;
    QLineEdit* m_edit;
    QPushButton* m_cancel;
    QPushButton* m_ok;
};

// True for a typed character the digits-only dialogs drop: a printable one
// other than 0..9. Control characters (backspace, tab, Ctrl+key) pass.
bool dropsForDigits(const QString& typed);

} // namespace tarvik
