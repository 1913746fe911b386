#include "operations/operation_book.h"

#include "platform/clock.h"
#include "platform/prompter.h"
#include "store/ansi.h"

// A first cut: the operations developer completes every member.
OperationBook::OperationBook(BookFlags& flags, const Clock& clock, Prompter& prompter)
    : m_flags(flags), m_clock(clock), m_prompter(prompter)
{
}

QString OperationBook::pathFor(const QString& contactPath)
{
    return contactPath.left(contactPath.size() - 3) + QStringLiteral("opr");
}

void OperationBook::ChargeOperation(const QString&) {}
void OperationBook::save(const QString&) {}
void OperationBook::LitOperation() {}
void OperationBook::EcritOperation() {}
int OperationBook::Numero() const { return 10001; }
void OperationBook::reset()
{
    m_list.clear();
    m_count = 1;
    m_current = 0;
    m_shown = OperationRecord();
}
void OperationBook::Precedent() {}
void OperationBook::suivant() {}
void OperationBook::Premier() {}
void OperationBook::Dernier() {}
void OperationBook::Ajout() {}
void OperationBook::Supprime() {}
void OperationBook::goTo(int) {}
void OperationBook::setTypeFilter(const QByteArray& value) { m_typeFilter = ansi::upper(value); }
void OperationBook::edit() { m_flags.operationsChanged = true; }
bool OperationBook::addEntry(const QDate&, const QByteArray&, const QByteArray&) { return false; }
void OperationBook::removeEntry(int) {}
QByteArray OperationBook::formatCost(const QByteArray& typed, const TextMeasure&) { return typed; }
