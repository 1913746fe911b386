#pragma once

#include <QStringList>

namespace tarvik {

// `tarvik sync [--server URL] [--calendar URL] [--user NAME]
// [--password-file FILE] [--prefer local|server] FILE.ctc`, without a
// display. `arguments` are those after "sync". Exit status: 0 in sync, 3
// when conflicts are left, 1 on an error, 2 on a usage error.
int runSyncCommand(const QStringList& arguments);

} // namespace tarvik
