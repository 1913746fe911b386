#include "tools/ui/letter_edit.h"

#include "tools/ruler_geometry.h"
#include "tools/ui/texte_document.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace tarvik {

LetterEdit::LetterEdit(QWidget* parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("RichEdit1"));
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(true);
    setTabStopDistance(TabStopPixels);
    document()->setDefaultFont(texte::defaultFont());
    applyTextMargins();
}

void LetterEdit::applyTextMargins()
{
    QTextFrame* root = document()->rootFrame();
    QTextFrameFormat f = root->frameFormat();
    if (f.leftMargin() == ruler::TextMargin && f.rightMargin() == ruler::TextMargin &&
        f.topMargin() == 4)
        return;
    const bool modified = document()->isModified();
    f.setLeftMargin(ruler::TextMargin);
    f.setRightMargin(ruler::TextMargin);
    f.setTopMargin(4);
    f.setBottomMargin(4);
    root->setFrameFormat(f);
    document()->setModified(modified);
}

void LetterEdit::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    applyTextMargins();
}

void LetterEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Rich text from anywhere comes in with the attributes a letter holds, so
    // what is on screen is what a save writes.
    QTextDocument pasted;
    pasted.setHtml(source->html());
    rtf::Document letter = texte::letterOf(pasted);
    while (letter.paragraphs.size() > 1 && letter.paragraphs.last().runs.isEmpty())
        letter.paragraphs.removeLast();
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    texte::insert(cursor, letter);
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace tarvik
