#pragma once

#include "sync/contact_sync.h"

#include <QDialog>

class QTableWidget;

namespace tarvik::sync {

// The records changed on both sides: for each, keep the file's record or
// take the server's card; for all at once with the two buttons. Nothing is
// decided for a row left at "À décider".
class SyncConflictDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SyncConflictDialog(const QList<SyncConflict>& conflicts, QWidget* parent = nullptr);

    Choices choices() const;
    void chooseAll(Choice choice);

    // Runs the dialog; the choices made, empty when the user put it off.
    static Choices ask(const QList<SyncConflict>& conflicts, QWidget* parent);

private:
    QList<SyncConflict> m_conflicts;
    QTableWidget* m_table;
};

} // namespace tarvik::sync
