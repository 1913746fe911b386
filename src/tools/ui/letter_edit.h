#pragma once

#include <QTextEdit>

namespace tarvik {

// The editor of the word processor: what is pasted into it keeps only what a
// letter file can hold, so that nothing on screen is lost on saving.
class LetterEdit : public QTextEdit
{
    Q_OBJECT
public:
    // RTF's default tab stops: every half inch.
    static constexpr double TabStopPixels = 48;

    explicit LetterEdit(QWidget* parent = nullptr);
    // Sets the text 6 pixels in from the left and right edges again.
    void applyTextMargins();

protected:
    void insertFromMimeData(const QMimeData* source) override;
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace tarvik
