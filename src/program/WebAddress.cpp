#include "program/WebAddress.h"

#include "base/Seam.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace {

void OpenInBrowser(const QString& address) {
    // Nothing to tell the user when no browser answers: the offer was only a courtesy.
    QDesktopServices::openUrl(QUrl(address));
}

Seam<WebAddressOpener>& Opener() {
    static Seam<WebAddressOpener> seam(OpenInBrowser);
    return seam;
}

} // namespace

WebAddressOpener SetWebAddressOpener(WebAddressOpener replacement) {
    return Opener().Replace(std::move(replacement));
}

void OpenWebAddress(const QString& address) {
    Opener().Current()(address);
}
