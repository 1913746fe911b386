#pragma once

#include <QDialog>

class QListWidget;

namespace tarvik {

// The French départements and their numbers.
class TDepart : public QDialog
{
    Q_OBJECT
public:
    explicit TDepart(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// First names and their name days; a letter goes to the first name that
// begins with it.
class TPrenoms : public QDialog
{
    Q_OBJECT
public:
    explicit TPrenoms(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list;
};

} // namespace tarvik
