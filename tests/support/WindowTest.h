#pragma once
// The base of a test class that drives the program's windows. Every test function starts with
// a fresh window set, the main window active; the summary window keeps its "Allinea.ini" in a
// temporary folder of the test function's own (empty at first); and the watchdog fails the
// test when a modal dialog nobody expected stays open.
//
// Qt Test calls this base's init(), cleanup() and cleanupTestCase() when the test class
// declares none of its own; a class that needs more declares its own and calls these, init()
// first and cleanup() last. They are protected: Qt Test would run a private slot of the base
// as a test function of every class derived from it.
#include "support/ModalBoxes.h"
#include "support/WindowSetFixture.h"

#include <QByteArray>
#include <QObject>
#include <QTemporaryDir>

#include <memory>

class WindowTest : public QObject {
    Q_OBJECT
protected slots:
    void init();
    void cleanup();
    void cleanupTestCase();

protected:
    // A file in the test function's own folder.
    QString testFile(const QString& name) const;

private:
    ModalWatchdog watchdog_;
    std::unique_ptr<QTemporaryDir> folder_;
};

// "Allinea.ini" as the program ships it: no paper position, both corrections 26.
inline const QByteArray ShippedAlignment("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n");

// What the program says in its boxes, written out here independently of it.
inline const QString ErrorBoxText = "ERRORE.........\r Nei campi di scrittura di questa colonna\r"
                                    "COLORE GIALLO.\r Sono ammessi solamente valori numerici e\r"
                                    " non possono essere lasciati vuoti !!!";
inline const QString StaleAmounts =
    QString::fromUtf8("L'importo non corrisponde ai dati: il bollettino non è stato stampato.\r"
                      "Cliccare su CORREGGI e poi su Calcola.");
// A print's report that comes after its press names the print on a first line of its own,
// "Stampa n. 2 (ore 10:32:05, stampante "Lenta"):"; the reports without that line, which are
// left as they are when they name no print.
QStringList ReportBodies(const QStringList& texts);
// The print each report names ("n. 2 (ore 10:32:05, stampante "Lenta")"), empty where none.
QStringList ReportNames(const QStringList& texts);

inline const QString NoPrinterMessage =
    QString::fromUtf8("Nessuna stampante disponibile: il bollettino non è stato stampato.\r"
                      "Vuoi salvarlo come file PDF, da stampare in seguito?");
