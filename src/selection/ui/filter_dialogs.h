#pragma once

#include "selection/ui/line_input_dialog.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace tarvik {

// The postcode of the postcode selection mode: digits only.
class TFcp : public LineInputDialog
{
    Q_OBJECT
public:
    explicit TFcp(QWidget* parent = nullptr);
    // The typed postcode, or nullopt when cancelled.
    static std::optional<QByteArray> ask(QWidget* parent, const QByteArray& current);
};

// The town of the town selection mode; the value is upper-cased (a..z only).
class TVille : public LineInputDialog
{
    Q_OBJECT
public:
    explicit TVille(QWidget* parent = nullptr);
    static std::optional<QByteArray> ask(QWidget* parent, const QByteArray& current);
};

// The operation type of the type selection: a choice of the OPERATION pick
// list, or any text typed; the value is upper-cased (a..z only).
class TSTyp : public QDialog
{
    Q_OBJECT
public:
    TSTyp(const QList<QByteArray>& types, const QByteArray& current, QWidget* parent = nullptr);
    QComboBox* combo() const { return m_combo; }
    QByteArray value() const; // upper-cased; empty when not accepted
    static std::optional<QByteArray> ask(QWidget* parent, const QList<QByteArray>& types,
                                         const QByteArray& current);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* m_combo;
};

} // namespace tarvik
