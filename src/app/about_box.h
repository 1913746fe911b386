#pragma once

#include <QDialog>

namespace tarvik {

// "A propos": the program's icon, name, version and purpose.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

// The window shown while the program starts.
class TSplash : public QWidget
{
    Q_OBJECT
public:
    TSplash();
};

} // namespace tarvik
