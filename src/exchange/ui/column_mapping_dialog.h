#pragma once

#include "exchange/csv_contacts.h"

#include <QDialog>
#include <QList>
#include <functional>

class QComboBox;

namespace tarvik {

namespace exchangeui {

// What the spreadsheet columns of unknown headers become: one list per
// column, with its header and a few of its values, offering every field of
// the record, the free text, or to leave the column out (the default).
class ColumnMappingDialog : public QDialog
{
    Q_OBJECT
public:
    ColumnMappingDialog(const QList<exchange::UnknownColumn>& columns, QWidget* parent);
    // One ColumnChoice value per column, in order.
    QList<int> choices() const;

private:
    QList<QComboBox*> m_lists;
};

// The mapper of the import command: shows the dialog.
class DialogColumnMapper : public exchange::ColumnMapper
{
public:
    explicit DialogColumnMapper(QWidget* parent) : m_parent(parent) {}
    std::optional<QList<int>> mapColumns(const QList<exchange::UnknownColumn>& columns) override;

private:
    QWidget* m_parent;
};

// The wait cursor, for the commands' busy hook.
std::function<void(bool)> waitCursorHook();

} // namespace exchangeui

} // namespace tarvik
