// The formatting commands of the word processor, and the controls that
// follow the text under the caret.
#include "tools/ui/texte_window.h"

#include "tools/ruler_geometry.h"
#include "tools/ui/texte_document.h"
#include "tools/ui/texte_ruler.h"

#include <QComboBox>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QToolButton>
#include <cmath>

namespace tarvik {

// --- formatting, each ignored while the controls follow the selection

void TTexte::mergeFormat(const QTextCharFormat& format)
{
    // With a selection it is formatted; without one, the text typed next is.
    m_edit->mergeCurrentCharFormat(format);
    m_edit->setFocus();
}

void TTexte::setBold(bool on)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

void TTexte::setItalic(bool on)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

void TTexte::setUnderline(bool on)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeFormat(f);
}

void TTexte::setFontName(const QString& name)
{
    if (m_updating || name.trimmed().isEmpty())
        return;
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name.trimmed()});
    mergeFormat(f);
}

void TTexte::setFontSize(int points)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeFormat(f);
}

void TTexte::setAlignment(Qt::Alignment alignment)
{
    if (m_updating)
        return;
    m_edit->setAlignment(alignment);
    m_edit->setFocus();
    refresh();
}

void TTexte::setBullets(bool on)
{
    if (m_updating)
        return;
    QTextCursor cursor = m_edit->textCursor();
    cursor.beginEditBlock();
    if (on) {
        if (!cursor.currentList()) {
            QTextListFormat list;
            list.setStyle(QTextListFormat::ListDisc);
            list.setIndent(1);
            cursor.createList(list);
        }
    } else {
        // Every paragraph of the selection leaves its list.
        QTextDocument* doc = m_edit->document();
        QTextBlock block = doc->findBlock(cursor.selectionStart());
        const QTextBlock last = doc->findBlock(cursor.selectionEnd());
        while (block.isValid()) {
            if (QTextList* l = block.textList()) {
                l->remove(block);
                QTextCursor c(block);
                QTextBlockFormat f = block.blockFormat();
                f.setIndent(0);
                c.setBlockFormat(f);
            }
            if (block == last)
                break;
            block = block.next();
        }
    }
    cursor.endEditBlock();
    m_edit->setFocus();
    refresh();
}

void TTexte::markerDropped(QWidget* marker)
{
    QTextCursor cursor = m_edit->textCursor();
    texte::Indents indents = texte::indentsOf(cursor.blockFormat());
    const int width = m_ruler->width();
    const int leftMarker = m_ruler->leftMarker()->x();
    if (marker == m_ruler->firstMarker()) {
        indents.first = ruler::firstIndentAt(m_ruler->firstMarker()->x());
        indents.left = ruler::leftIndentAt(leftMarker, indents.first);
    } else if (marker == m_ruler->leftMarker()) {
        indents.left = ruler::leftIndentAt(leftMarker, indents.first);
    } else {
        indents.right = ruler::rightIndentAt(m_ruler->rightMarker()->x(), width);
    }
    // The indents go to every paragraph of the selection.
    QTextDocument* doc = m_edit->document();
    QTextBlock block = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    QTextCursor edit(doc);
    edit.beginEditBlock();
    while (block.isValid()) {
        QTextBlockFormat f = block.blockFormat();
        texte::setIndents(f, indents);
        edit.setPosition(block.position());
        edit.setBlockFormat(f);
        if (block == last)
            break;
        block = block.next();
    }
    edit.endEditBlock();
    refresh();
}

void TTexte::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    refresh();
}

void TTexte::refresh()
{
    if (m_updating)
        return;
    m_updating = true;
    // The flag comes down even if something below throws.
    struct Clear
    {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{m_updating};

    const QTextCursor cursor = m_edit->textCursor();
    const texte::Indents i = texte::indentsOf(cursor.blockFormat());
    m_ruler->place(i.first, i.left, i.right);

    const rtf::Run look = texte::lookOf(m_edit->currentCharFormat());
    m_bold->setChecked(look.bold);
    m_italic->setChecked(look.italic);
    m_underline->setChecked(look.underline);
    m_bullets->setChecked(cursor.currentList() != nullptr);
    m_fontSize->setValue(int(std::lround(look.size)));
    if (m_fontName->currentText() != look.font)
        m_fontName->setEditText(look.font);

    const Qt::Alignment a = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        m_center->setChecked(true);
    else if (a & Qt::AlignRight)
        m_right->setChecked(true);
    else if (!(a & Qt::AlignJustify))
        m_left->setChecked(true);
    else {
        // Justified: none of the three buttons is down.
        for (QToolButton* t : {m_left, m_center, m_right})
            t->setAutoExclusive(false);
        for (QToolButton* t : {m_left, m_center, m_right})
            t->setChecked(false);
        for (QToolButton* t : {m_left, m_center, m_right})
            t->setAutoExclusive(true);
    }
}

} // namespace tarvik
