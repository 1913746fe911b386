#include "platform/ui/command_guard.h"

#include "platform/errors.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace tarvik {

static void showError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tarvik"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool runGuarded(QWidget* parent, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const TarvikError& e) {
        showError(parent, e.text());
    } catch (const std::exception& e) {
        showError(parent, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showError(parent, QStringLiteral("Erreur inattendue"));
    }
    return false;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace tarvik
