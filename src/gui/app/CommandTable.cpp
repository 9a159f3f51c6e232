#include "gui/app/CommandTable.h"

#include "gui/support/CommandIds.h"

namespace dualvex {

namespace {

// Splits a string-table entry "prompt\ntool tip" into its two halves.
CommandInfo Entry(int id, const char* caption, const char* texts, QList<QKeySequence> keys = {})
{
    CommandInfo info;
    info.id = id;
    info.caption = QString::fromUtf8(caption);
    const QString all = QString::fromUtf8(texts);
    const qsizetype nl = all.indexOf(QLatin1Char('\n'));
    info.prompt = nl < 0 ? all : all.left(nl);
    info.toolTip = nl < 0 ? QString() : all.mid(nl + 1);
    info.keys = std::move(keys);
    return info;
}

QKeySequence Key(QKeyCombination combination)
{
    return QKeySequence(combination);
}

QList<CommandInfo> BuildTable()
{
    using namespace cmd;
    const auto ctrl = Qt::ControlModifier;
    const auto shift = Qt::ShiftModifier;
    const auto alt = Qt::AltModifier;
    return {
        Entry(New, "&Neu\tStrg+N", "Erstellt ein neues Dokument.\nNeu"),
        Entry(Open, "Ö&ffnen...\tStrg+O", "Öffnet die beiden Dateien für den Vergleich.\nÖffnen",
              {Key(ctrl | Qt::Key_O)}),
        Entry(Exit, "&Beenden", "Beendet das Programm.\nBeenden", {Key(Qt::Key_Escape)}),
        Entry(Copy, "&Kopieren\tStrg+C", "Kopiert die Auswahl in die Zwischenablage.\nKopieren",
              {Key(ctrl | Qt::Key_C)}),
        Entry(Cut, "Ausschneiden", "Schneidet die Auswahl aus.\nAusschneiden", {Key(shift | Qt::Key_Delete)}),
        Entry(Paste, "Einfügen\tStrg+V", "Fügt den Inhalt der Zwischenablage ein.\nEinfügen",
              {Key(ctrl | Qt::Key_V), Key(shift | Qt::Key_Insert)}),
        Entry(CopyCpp, "&C++ Kopieren\tStrg+A", "Kopiert die Auswahl als C++ Quelltext.\nC++ Kopieren",
              {Key(ctrl | Qt::Key_A)}),
        Entry(FindNext, "&Weitersuchen\tF3", "Sucht das nächste Vorkommen.\nWeitersuchen", {Key(Qt::Key_F3)}),
        Entry(Find, "&Suchen\tShift+F3", "Sucht nach Werten oder Text.\nSuchen",
              {Key(shift | Qt::Key_F3), Key(ctrl | Qt::Key_F)}),
        Entry(FindRange, "&Bereich Suchen\tStrg+F3", "Sucht den markierten Bereich.\nBereich Suchen",
              {Key(ctrl | Qt::Key_F3)}),
        Entry(Calculator, "Zahlen Rechner\tStrg+Y", "Öffnet den Zahlen Rechner.\nZahlen Rechner",
              {Key(ctrl | Qt::Key_Y)}),
        Entry(Checksum, "&Check -Summe\tF5", "Berechnet Prüfsummen der Auswahl.\nCheck -Summe",
              {Key(Qt::Key_F5)}),
        Entry(GotoAddress, "&Springe zu Adresse\tF10", "Springt zu einer Adresse.\nSpringe zu Adresse",
              {Key(Qt::Key_F10)}),
        Entry(Colours, "&Farben einstellen\tStrg+B", "Stellt die Farben ein.\nFarben einstellen",
              {Key(ctrl | Qt::Key_B)}),
        Entry(Font, "Sch&rift einstellen\tStrg+S", "Stellt die Schrift ein.\nSchrift einstellen",
              {Key(ctrl | Qt::Key_S)}),
        Entry(CrcCalculator, "CRC-Summe berechnen", "Berechnet CRC-Summen der Auswahl.\nCRC-Summe berechnen"),
        Entry(FloatConverter, "Flieskommakonverter",
              "Zeigt die Bytes am Cursor als Flieskommazahl.\nFlieskommakonverter"),
        Entry(InsertNumber, "Zahlen eingabe", "Schreibt eine Zahl an den Cursor.\nZahlen eingabe"),
        Entry(HexSettings, "Einstellungen", "Stellt die Anzeige der HEX-Fenster ein.\nEinstellungen"),
        Entry(SplitHorizontal, "Horizontale Teilung",
              "Anzeige Modus der HEX-Fenster einstellen\nHorizontale Teilung"),
        Entry(FlatToolbar, "Flache Symbolleiste",
              "Schaltet zwischen dem hervorgehobenen und flachen Stil um.\nFlache Symbolleiste"),
        Entry(StayOnTop, "Fenster fi&xieren", "Fixiert das Fenster immer im Vordergrind\nFenster fixieren"),
        Entry(ToggleToolbar, "&Symbolleiste", "Blendet die Symbolleiste ein oder aus.\nSymbolleiste"),
        Entry(ToggleStatusbar, "S&tatusleiste", "Blendet die Statusleiste ein oder aus.\nStatusleiste"),
        Entry(About, "Inf&o über Dualvex", "Zeigt Programminformationen an.\nInfo"),
        Entry(SyntaxHelp, "&Sysntax Info", "Zeigt eine Hilfe für die Aufrufparameter an.\nSysntax Info"),
        Entry(FirstDiff, "Erster Unterschied",
              "Zum ersten geänderten Bereich springen.\nGanz zurück (Alt+Pos1)", {Key(alt | Qt::Key_Home)}),
        Entry(PreviousDiff, "Vorheriger Unterschied",
              "Zum vorherigen geänderten Bereich springen.\nZurück (Alt+Oben)", {Key(alt | Qt::Key_Up)}),
        Entry(CurrentDiff, "Aktueller Unterschied",
              "Zum aktuellen geänderten Bereich springen.\nAktueller Bereich (Alt+Eingabe)",
              {Key(alt | Qt::Key_Return), Key(alt | Qt::Key_Enter)}),
        Entry(NextDiff, "Nächster Unterschied",
              "Zum nächten geänderten Bereich springen.\nNächster (Alt+Unten)", {Key(alt | Qt::Key_Down)}),
        Entry(LastDiff, "Letzter Unterschied",
              "Zum letzen geänderten Bereich springen.\nLetzter Bereich (Alt+Ende)",
              {Key(alt | Qt::Key_End)}),
        Entry(Reload, "Neu laden", "Läd die beiden Dateien neu.\nReload"),
        Entry(AutoReload, "Automatisch neu laden",
              "Lädt eine auf der Festplatte geänderte Datei sofort neu.\nAutomatisch neu laden"),
        Entry(NextPane, "Nächstes Fenster", "Wechselt zum nächsten Fenster.\nNächstes Fenster",
              {Key(Qt::Key_F6)}),
        Entry(PreviousPane, "Vorheriges Fenster", "Wechselt zum vorherigen Fenster.\nVorheriges Fenster",
              {Key(shift | Qt::Key_F6)}),
        Entry(CopyPath, "Pfad kopieren", "Kopiert den Pfad der Datei.\nPfad kopieren"),
        Entry(StartEditor, "HEX-Editor starten", "Öffnet die Datei im HEX-Editor.\nHEX-Editor starten"),
    };
}

} // namespace

const QList<CommandInfo>& AllCommands()
{
    static const QList<CommandInfo> table = BuildTable();
    return table;
}

const CommandInfo& LookupCommand(int id)
{
    static const CommandInfo none;
    for (const auto& info : AllCommands())
        if (info.id == id) return info;
    return none;
}

} // namespace dualvex
