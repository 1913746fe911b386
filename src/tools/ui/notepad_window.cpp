#include "tools/ui/notepad_window.h"

#include "platform/errors.h"
#include "platform/ui/command_guard.h"
#include "storage/ansi.h"
#include "tools/notepad.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik {

TBlocnotes::TBlocnotes(const QString& notePath, QWidget* parent)
    : QDialog(parent), m_path(notePath), m_memo(new AnsiPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Bloc-notes"));
    m_memo->setObjectName(QStringLiteral("Memo1"));

    auto* print = new QToolButton(this);
    print->setObjectName(QStringLiteral("SpeedButton9"));
    print->setText(QStringLiteral("Imprimer"));
    print->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(print, &QToolButton::clicked, this,
            [this] { runGuarded(this, [this] { this->print(); }); });
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addStretch();
    buttons->addWidget(close);
    // "Fermer" keeps its distance from the right edge when the window is resized.
    buttons->addSpacing(40);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memo);
    layout->addLayout(buttons);
    resize(520, 380);

    runGuarded(parent, [this] {
        if (const auto text = notepad::load(m_path))
            m_memo->setPlainText(ansi::toUnicode(*text));
    });
    m_memo->document()->setModified(false);
}

QByteArray TBlocnotes::noteText() const
{
    return ansi::fromUnicode(m_memo->toPlainText());
}

bool TBlocnotes::isModified() const
{
    return m_memo->document()->isModified();
}

bool TBlocnotes::saveIfModified()
{
    bool wrote = false;
    runGuarded(parentWidget(), [this, &wrote] {
        wrote = notepad::saveIfModified(m_path, noteText(), isModified());
    });
    if (wrote)
        m_memo->document()->setModified(false);
    return wrote;
}

bool TBlocnotes::run(const QString& programFolder, QWidget* parent)
{
    TBlocnotes window(notepad::notePath(programFolder), parent);
    window.exec();
    return window.saveIfModified();
}

void TBlocnotes::print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    WaitCursor wait;
    QPainter painter;
    if (!painter.begin(&printer))
        throw TarvikError(QStringLiteral("Erreur d'entrée/sortie : impossible d'imprimer"));
    painter.setFont(QFont(m_memo->font(), &printer));
    const QRect page = painter.viewport();
    const QFontMetrics metrics = painter.fontMetrics();
    int y = 0;
    const QStringList lines = m_memo->toPlainText().split(QChar('\n'));
    for (const QString& line : lines) {
        // A line longer than the paper goes on over as many printed lines as
        // it needs rather than being cut off.
        const QRect need = metrics.boundingRect(QRect(0, 0, page.width(), 1 << 20),
                                                Qt::TextWordWrap, line.isEmpty() ? " " : line);
        if (y > 0 && y + need.height() > page.height()) {
            if (!printer.newPage())
                throw TarvikError(QStringLiteral("Erreur d'entrée/sortie : impossible d'imprimer"));
            y = 0;
        }
        painter.drawText(QRect(0, y, page.width(), need.height()), Qt::TextWordWrap, line);
        y += need.height();
    }
    if (!painter.end())
        throw TarvikError(QStringLiteral("Erreur d'entrée/sortie : impossible d'imprimer"));
}

} // namespace tarvik
