#pragma once

#include "selection/ui/line_input_dialog.h"

namespace tarvik {

// The search dialogs. Each ask() returns the text of Edit1 when accepted and
// an empty text otherwise.

class TRNom : public LineInputDialog
{
    Q_OBJECT
public:
    explicit TRNom(QWidget* parent = nullptr);
    static QByteArray ask(QWidget* parent);
};

// Digits only: a phone number as stored without spaces.
class TRTel : public LineInputDialog
{
    Q_OBJECT
public:
    explicit TRTel(QWidget* parent = nullptr);
    static QByteArray ask(QWidget* parent);
};

class TRDeci : public LineInputDialog
{
    Q_OBJECT
public:
    explicit TRDeci(QWidget* parent = nullptr);
    static QByteArray ask(QWidget* parent);
};

// Digits only: the record number as the user counts, from 1.
class TRNum : public LineInputDialog
{
    Q_OBJECT
public:
    explicit TRNum(QWidget* parent = nullptr);
    static QByteArray ask(QWidget* parent);
};

} // namespace tarvik
