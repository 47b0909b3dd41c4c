#include "program/WebAddress.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace {

void OpenInBrowser(const QString& address) {
    // Nothing to tell the user when no browser answers: the offer was only a courtesy.
    QDesktopServices::openUrl(QUrl(address));
}

WebAddressOpener& CurrentOpener() {
    static WebAddressOpener opener = OpenInBrowser;
    return opener;
}

} // namespace

WebAddressOpener SetWebAddressOpener(WebAddressOpener opener) {
    if (!opener)
        opener = OpenInBrowser;
    return std::exchange(CurrentOpener(), std::move(opener));
}

void OpenWebAddress(const QString& address) {
    CurrentOpener()(address);
}
