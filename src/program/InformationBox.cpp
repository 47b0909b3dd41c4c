#include "program/InformationBox.h"

#include "base/AppInfo.h"
#include "frame/MessageBoxes.h"
#include "program/WebAddress.h"

#include <QStringList>

QString InformationText() {
    // Spaces at the ends of lines and the users' familiar wording are kept as they have
    // always been shown.
    const QStringList lines = {
        QStringLiteral("INFORMAZIONI  "),
        QStringLiteral("Autore: ") + QString::fromUtf8(AuthorName) + QStringLiteral(" ...  ") +
            QString::fromUtf8(AuthorWebAddress),
        QString(),
        QString(),
        QStringLiteral("Il programma va bene ed è stato testato su altri PC, co-"),
        QString(),
        QString(),
        QString(),
        QStringLiteral("Il programma esegue automaticamente il calcolo dell'ICI"),
        QStringLiteral("permette di visualizzare schematicamente come verrà il"),
        QStringLiteral("bollettino di C/C e STAMPARE il bollettino stesso."),
        QStringLiteral("Scrivere i dati necessari nelle caselle apposite, come indi- "),
        QStringLiteral("cato, ricordo ancora che la RIVALUTAZIONE, PERCEN-"),
        QStringLiteral("TUALE DI POSSESSO E L'ALIQUOTA ICI VANNO SCRITTI"),
        QStringLiteral("..... SENZA IL SEGNO  % ......"),
        QStringLiteral("Per RIVALUTAZIONE inserire la Rivalutazione Catastale"),
        QStringLiteral("prevista dal Catasto del Comune dov'è ubicato l'immobile."),
        QStringLiteral("Per la DETRAZIONE ICI  inserire la DETRAZIONE TOTALE"),
        QStringLiteral("ANNUALE, il programma esegue automaticamente il calco-"),
        QStringLiteral("lo della detrazione spettante facendo riferimento ai mesi"),
        QStringLiteral("di possesso e alla percentale di possesso ."),
        QStringLiteral(" Per spostarsi velocemente nelle caselle si può usare il"),
        QStringLiteral("tasto TAB, lasciando 2 secondi il cursore del mouse sui"),
        QStringLiteral("pulsanti o sui campi appaiono delle piccole spiegazioni."),
        QStringLiteral("....PRIMA DI STAMPARE LEGGERE IL FILE...."),
        QStringLiteral("..........  LEGGIMIPRIMA.TXT ............... "),
        QStringLiteral("Sequesto programma lo avete ritenuto utile visitate il mio "),
        QStringLiteral("sacliccando su YES, altrimenti cliccare su NO per chiudere "),
        QStringLiteral("questa finestra."),
    };
    return lines.join(QLatin1Char('\r'));
}

void ShowInformationBox() {
    if (MessageInformationYesNo(InformationText()))
        OpenWebAddress(QString::fromUtf8(AuthorWebAddress));
}
