#pragma once

class QCoreApplication;

namespace tarvik {

// Makes the program French whatever the machine's locale: the default locale
// (decimal comma, dd/MM/yyyy dates) and Qt's own translations for its
// standard buttons and dialogs. Returns false when the translations are not
// installed.
bool installFrench(QCoreApplication& app);

} // namespace tarvik
