#pragma once

#include "platform/ui/qt_prompter.h"
#include "print/print_host.h"
#include "tools/letter_editor.h"
#include "tools/ui/letter_edit.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QHBoxLayout;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTextCharFormat;
class QToolButton;

namespace tarvik {

class TexteRuler;

// The word processor: letters in rich text, saved and opened as RTF, printed.
class TTexte : public QDialog, private LetterView
{
    Q_OBJECT
public:
    // companyLines: the company header lines (the first four head a new
    // letter). Questions and messages go to prompter, prints to printHost, or
    // to dialogs of the window's own.
    explicit TTexte(const QStringList& companyLines, QWidget* parent = nullptr,
                    Prompter* prompter = nullptr, print::PrintHost* printHost = nullptr);

    // Opens the word processor maximized and modally; it is freed on return.
    static void run(const QStringList& companyLines, QWidget* parent = nullptr,
                    Prompter* prompter = nullptr, print::PrintHost* printHost = nullptr);

    LetterEdit* editor() const { return m_edit; }
    TexteRuler* ruler() const { return m_ruler; }
    LetterEditor& letterEditor() { return m_letters; }
    QString fileName() const { return m_letters.fileName(); }
    bool isUpdating() const { return m_updating; }

    // The letter drawn as one print job on a device of the print host.
    void drawLetter(print::PrintDevice& device);
    // Replaces the font dialog (tests).
    void setFontChooser(std::function<std::optional<QFont>(const QFont&)> chooser)
    {
        m_chooseFont = std::move(chooser);
    }

    // The commands of the toolbar.
    void newLetter();
    void openLetter();
    void saveLetter();
    void printLetter();
    void chooseFont();

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    rtf::Document letter() const override;
    void showLetter(const rtf::Document& letter) override;
    bool isModified() const override;
    void setModified(bool modified) override;

    QToolButton* addButton(const char* name, const QString& hint, const QIcon& icon);
    std::function<void()> guarded(std::function<void()> command);
    void addFileButtons(QHBoxLayout* bar);
    void addStyleButtons(QHBoxLayout* bar);
    void addAlignmentButtons(QHBoxLayout* bar);
    void addFontControls(QHBoxLayout* bar);
    void addCloseButton(QHBoxLayout* bar);
    void connectRuler();
    void refresh();
    void mergeFormat(const QTextCharFormat& format);
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setAlignment(Qt::Alignment alignment);
    void setBullets(bool on);
    void setFontName(const QString& name);
    void setFontSize(int points);
    void markerDropped(QWidget* marker);

    QtPrompter m_ownPrompter;
    Prompter& m_prompter;
    std::unique_ptr<print::PrintHost> m_ownPrintHost;
    print::PrintHost& m_printHost;
    LetterEditor m_letters;
    QWidget* m_panel;
    TexteRuler* m_ruler;
    LetterEdit* m_edit;
    QToolButton* m_bold;
    QToolButton* m_italic;
    QToolButton* m_underline;
    QToolButton* m_left;
    QToolButton* m_center;
    QToolButton* m_right;
    QToolButton* m_bullets;
    QComboBox* m_fontName;
    QSpinBox* m_fontSize;
    QPushButton* m_close;
    bool m_updating = false;
    std::function<std::optional<QFont>(const QFont&)> m_chooseFont;
};

} // namespace tarvik
