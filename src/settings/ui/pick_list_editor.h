#pragma once

#include "settings/settings.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace tarvik {

// The editor of one pick list: the edit sends its text to the list (a new item,
// or the selected one replaced); Delete removes the selected item. Closing
// always keeps the edited list.
class TCombo : public QDialog
{
    Q_OBJECT
public:
    TCombo(settings::PickList which, const QList<QByteArray>& items, QWidget* parent = nullptr);

    // Shows the editor modally and writes the list back when it closes, by
    // "Fermer", Esc or the close box alike.
    static void edit(settings::PickList which, QList<QByteArray>& items, QWidget* parent);

    static QString caption(settings::PickList which);
    static QString label(settings::PickList which);

    QList<QByteArray> items() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void validate();
    void deleteSelected();
    void selectNothing();

    QLineEdit* m_edit;
    QListWidget* m_list;
};

} // namespace tarvik
