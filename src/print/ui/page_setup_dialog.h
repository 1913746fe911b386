#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace tarvik {

class RecordBook;

// "Mise en page": the envelope orientation and the envelope guide.
class TMPage : public QDialog
{
    Q_OBJECT
public:
    explicit TMPage(QWidget* parent = nullptr);

    // Fills the controls from the stored settings (the reserved setting, the
    // envelope orientation and whether the guide offset is on).
    void Init(int reserved, int orientation, bool guideOnRight);
    // The orientation chosen (-1 when the dialog was cancelled) and the box.
    void Result(int& orientation, bool& guideOnRight) const;

private:
    QGroupBox* m_orientation = nullptr; // RadioGroup2
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QCheckBox* m_guide = nullptr; // CheckBox1
    bool m_accepted = false;
};

// Runs the page-setup dialog and keeps its result in the book's settings,
// written to "Tarvik.ini" when the program closes.
void ParM(RecordBook& book, QWidget* parent);

} // namespace tarvik
