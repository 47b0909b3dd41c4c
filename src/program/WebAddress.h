#pragma once
// Opening a web address in the user's browser. Tests put a recorder in place of the browser.
#include <QString>

#include <functional>

using WebAddressOpener = std::function<void(const QString& address)>;

// Installs an opener in place of the browser and returns the one it replaces; an empty opener
// puts the browser back.
WebAddressOpener SetWebAddressOpener(WebAddressOpener opener);

// Asks the desktop to open the address with its default action; a failure goes unreported.
void OpenWebAddress(const QString& address);
