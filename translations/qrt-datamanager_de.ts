<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CsvFiles</name>
    <message>
        <source>the line is %1 bytes long; a draw line holds at most %2</source>
        <translation>die Zeile ist %1 Bytes lang; eine Ziehungszeile hat höchstens %2</translation>
    </message>
    <message>
        <source>a quoted field holds a line break: a draw is one line</source>
        <translation>ein Feld in Anführungszeichen enthält einen Zeilenumbruch: eine Ziehung steht in einer Zeile</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>das Speicherkontingent ist aufgebraucht</translation>
    </message>
    <message>
        <source>the file size limit is reached</source>
        <translation>die maximale Dateigröße ist erreicht</translation>
    </message>
    <message>
        <source>there is no permission to write in %1</source>
        <translation>es fehlt die Berechtigung, in %1 zu schreiben</translation>
    </message>
    <message>
        <source>%1 is on a read-only disk</source>
        <translation>%1 liegt auf einem schreibgeschützten Datenträger</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>the name is too long</source>
        <translation>der Name ist zu lang</translation>
    </message>
    <message>
        <source>; give the data folder with --data-dir DIR.</source>
        <translation>; geben Sie den Datenordner mit --data-dir DIR an.</translation>
    </message>
    <message>
        <source>HOME is not set</source>
        <translation>HOME ist nicht gesetzt</translation>
    </message>
    <message>
        <source>%1 holds bytes that are not valid text, so the user&apos;s data location cannot be used</source>
        <translation>%1 enthält Bytes, die kein gültiger Text sind, daher kann der Datenort des Benutzers nicht verwendet werden</translation>
    </message>
    <message>
        <source>%1 (%2) is not an absolute path, so the user&apos;s data location cannot be used</source>
        <translation>%1 (%2) ist kein absoluter Pfad, daher kann der Datenort des Benutzers nicht verwendet werden</translation>
    </message>
    <message>
        <source>The user&apos;s data location %1 (from %2) cannot be used: %3; give the data folder with --data-dir DIR.</source>
        <translation>Der Datenort des Benutzers %1 (aus %2) kann nicht verwendet werden: %3; geben Sie den Datenordner mit --data-dir DIR an.</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be created: %2.</source>
        <translation>Der Datenordner %1 kann nicht angelegt werden: %2.</translation>
    </message>
    <message>
        <source>The lock of the data folder %1 cannot be written: %2. Nothing was changed.</source>
        <translation>Die Sperre des Datenordners %1 kann nicht geschrieben werden: %2. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be locked: %2. Nothing was changed.</source>
        <translation>Der Datenordner %1 kann nicht gesperrt werden: %2. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The data folder %1 is in use by another program; close it first. Nothing was changed.</source>
        <translation>Der Datenordner %1 wird von einem anderen Programm verwendet; schließen Sie es zuerst. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The data folder %1 is in use by %2 (process %3 on %4); close it first. Nothing was changed.</source>
        <translation>Der Datenordner %1 wird von %2 verwendet (Prozess %3 auf %4); schließen Sie es zuerst. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>another program</source>
        <translation>einem anderen Programm</translation>
    </message>
    <message>
        <source>it is not held</source>
        <translation>sie wird nicht gehalten</translation>
    </message>
    <message>
        <source>its lock file was deleted</source>
        <translation>ihre Sperrdatei wurde gelöscht</translation>
    </message>
    <message>
        <source>its lock file cannot be checked: %1</source>
        <translation>ihre Sperrdatei kann nicht geprüft werden: %1</translation>
    </message>
    <message>
        <source>its lock file was replaced by that of process %1</source>
        <translation>ihre Sperrdatei wurde durch die von Prozess %1 ersetzt</translation>
    </message>
    <message>
        <source>its lock file was replaced</source>
        <translation>ihre Sperrdatei wurde ersetzt</translation>
    </message>
    <message>
        <source>its lock file now names process %1</source>
        <translation>ihre Sperrdatei nennt jetzt Prozess %1</translation>
    </message>
    <message>
        <source>its lock file was overwritten</source>
        <translation>ihre Sperrdatei wurde überschrieben</translation>
    </message>
    <message>
        <source>The lock on the data folder %1 was lost (%2), so another program may have changed the draws there. Nothing was saved.</source>
        <translation>Die Sperre des Datenordners %1 ging verloren (%2), daher könnte ein anderes Programm die Ziehungen dort geändert haben. Es wurde nichts gespeichert.</translation>
    </message>
</context>
<context>
    <name>Downloader</name>
    <message>
        <source>%1 is not an http or https address</source>
        <translation>%1 ist keine http- oder https-Adresse</translation>
    </message>
    <message>
        <source>the file is larger than %1 MB</source>
        <translation>die Datei ist größer als %1 MB</translation>
    </message>
    <message>
        <source>the download was cancelled</source>
        <translation>der Download wurde abgebrochen</translation>
    </message>
    <message>
        <source>%1 sent nothing for %2 s</source>
        <translation>%1 hat %2 s lang nichts gesendet</translation>
    </message>
    <message>
        <source>the server answered %1 %2 for %3</source>
        <translation>der Server antwortete %1 %2 für %3</translation>
    </message>
    <message>
        <source>the download of %1 ended after %2 of %3 bytes</source>
        <translation>der Download von %1 endete nach %2 von %3 Bytes</translation>
    </message>
    <message>
        <source>the zip archive cannot be read: %1</source>
        <translation>das ZIP-Archiv kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>it has no central directory</source>
        <translation>es hat kein zentrales Verzeichnis</translation>
    </message>
    <message>
        <source>its directory is damaged</source>
        <translation>sein Verzeichnis ist beschädigt</translation>
    </message>
    <message>
        <source>an entry is damaged</source>
        <translation>ein Eintrag ist beschädigt</translation>
    </message>
    <message>
        <source>it is cut short</source>
        <translation>es ist abgeschnitten</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB</source>
        <translation>%1 ist größer als %2 MB</translation>
    </message>
    <message>
        <source>%1 is packed in a way this program cannot unpack</source>
        <translation>%1 ist auf eine Weise gepackt, die dieses Programm nicht entpacken kann</translation>
    </message>
    <message>
        <source>zlib cannot start</source>
        <translation>zlib kann nicht starten</translation>
    </message>
    <message>
        <source>%1 is damaged</source>
        <translation>%1 ist beschädigt</translation>
    </message>
    <message>
        <source>it holds no file</source>
        <translation>es enthält keine Datei</translation>
    </message>
</context>
<context>
    <name>ImportText</name>
    <message>
        <source>UTF-8 with a byte order mark</source>
        <translation>UTF-8 mit Byte-Order-Mark</translation>
    </message>
    <message>
        <source>UTF-16 (converted)</source>
        <translation>UTF-16 (umgewandelt)</translation>
    </message>
</context>
<context>
    <name>LotteryFolder</name>
    <message>
        <source>%1 cannot be used:
%2

%3 %4</source>
        <translation>%1 kann nicht verwendet werden:
%2

%3 %4</translation>
    </message>
    <message>
        <source>It was kept as %1.</source>
        <translation>Die Datei wurde als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>The draws saved before it were loaded instead.</source>
        <translation>Stattdessen wurden die zuvor gespeicherten Ziehungen geladen.</translation>
    </message>
    <message>
        <source>No draws were loaded.</source>
        <translation>Es wurden keine Ziehungen geladen.</translation>
    </message>
    <message>
        <source>%1 was missing after an unfinished save; the draws saved before were restored.</source>
        <translation>%1 fehlte nach einem unvollendeten Speichern; die zuvor gespeicherten Ziehungen wurden wiederhergestellt.</translation>
    </message>
    <message>
        <source>%1 is missing and the copy saved before it cannot be used.</source>
        <translation>%1 fehlt, und die zuvor gespeicherte Kopie kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>The draws were loaded, but the copy that protects them during the next save was not kept: %1</source>
        <translation>Die Ziehungen wurden geladen, aber die Kopie, die sie beim nächsten Speichern schützt, wurde nicht angelegt: %1</translation>
    </message>
    <message>
        <source>The made-up sample draws shown before are not your history: they were set aside as %1.</source>
        <translation>Die zuvor gezeigten, erfundenen Beispielziehungen sind nicht Ihre Historie: Sie wurden als %1 beiseitegelegt.</translation>
    </message>
    <message>
        <source>the record store does not keep the program&apos;s name</source>
        <translation>der Datensatzspeicher behält den Namen des Programms nicht</translation>
    </message>
    <message>
        <source>cannot create the settings folder %1</source>
        <translation>der Einstellungsordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot write the settings in %1: %2</source>
        <translation>die Einstellungen in %1 können nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot write the settings in %1</source>
        <translation>die Einstellungen in %1 können nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the setting that says where the draws are saved reads back wrong from %1</source>
        <translation>die Einstellung, wo die Ziehungen gespeichert werden, wird aus %1 falsch zurückgelesen</translation>
    </message>
    <message>
        <source>%1 was changed by another program after it was read, so the draws were not written back to it; nothing in it was lost. Saves no longer write back to it.</source>
        <translation>%1 wurde nach dem Lesen von einem anderen Programm geändert, daher wurden die Ziehungen nicht dorthin zurückgeschrieben; darin ging nichts verloren. Beim Speichern wird nicht mehr dorthin zurückgeschrieben.</translation>
    </message>
    <message>
        <source>The draws were saved, but the state before this save was not kept as an earlier version: %1</source>
        <translation>Die Ziehungen wurden gespeichert, aber der Stand vor diesem Speichern wurde nicht als frühere Version aufbewahrt: %1</translation>
    </message>
    <message>
        <source>%1 was missing after an unfinished save; it was written again with the %2 draws saved last.</source>
        <translation>%1 fehlte nach einem unvollendeten Speichern; die Datei wurde mit den %2 zuletzt gespeicherten Ziehungen neu geschrieben.</translation>
    </message>
    <message>
        <source>%1 is missing after an unfinished save and cannot be written again: %2</source>
        <translation>%1 fehlt nach einem unvollendeten Speichern und kann nicht neu geschrieben werden: %2</translation>
    </message>
    <message>
        <source>It could not be moved aside: %1.</source>
        <translation>Sie konnte nicht beiseitegelegt werden: %1.</translation>
    </message>
    <message>
        <source>The draws were loaded; the copy that protects them during the next save is in place but not confirmed on disk: %1</source>
        <translation>Die Ziehungen wurden geladen; die Kopie, die sie beim nächsten Speichern schützt, ist angelegt, aber nicht sicher auf dem Datenträger bestätigt: %1</translation>
    </message>
</context>
<context>
    <name>ResultImporter</name>
    <message>
        <source>a text draw file</source>
        <translation>eine Ziehungsdatei im Textformat</translation>
    </message>
    <message>
        <source>a table with %1 between fields</source>
        <translation>eine Tabelle mit %1 zwischen den Feldern</translation>
    </message>
    <message>
        <source>a header on line %1</source>
        <translation>eine Kopfzeile in Zeile %1</translation>
    </message>
    <message>
        <source>no header</source>
        <translation>keine Kopfzeile</translation>
    </message>
    <message>
        <source>numbers from &quot;%1&quot; to &quot;%2&quot;</source>
        <translation>Zahlen von „%1“ bis „%2“</translation>
    </message>
    <message>
        <source>dates day first</source>
        <translation>Datum mit dem Tag zuerst</translation>
    </message>
    <message>
        <source>dates month first</source>
        <translation>Datum mit dem Monat zuerst</translation>
    </message>
    <message>
        <source>%1 line ends</source>
        <translation>Zeilenenden %1</translation>
    </message>
    <message>
        <source>oldest first</source>
        <translation>älteste zuerst</translation>
    </message>
    <message>
        <source>newest first</source>
        <translation>neueste zuerst</translation>
    </message>
    <message>
        <source>in mixed order</source>
        <translation>in gemischter Reihenfolge</translation>
    </message>
    <message>
        <source>the importer takes numbers from 0 to 65535 only</source>
        <translation>der Import nimmt nur Zahlen von 0 bis 65535</translation>
    </message>
    <message>
        <source>CR LF</source>
        <translation>CR LF</translation>
    </message>
    <message>
        <source>line %1 was skipped: &quot;%2&quot; is a title, not a row of the table</source>
        <translation>Zeile %1 wurde übersprungen: „%2“ ist ein Titel, keine Tabellenzeile</translation>
    </message>
    <message>
        <source>no column holds the draw number or the draw date: name it in a header row (such as &quot;Draw Number&quot; or &quot;Draw Date&quot;)</source>
        <translation>keine Spalte enthält die Ziehungsnummer oder das Ziehungsdatum: benennen Sie sie in einer Kopfzeile (etwa „Draw Number“ oder „Draw Date“)</translation>
    </message>
    <message>
        <source>no column holds the %1 numbers from %2 to %3 of a draw: name them in a header row (such as &quot;Ball 1&quot; or &quot;Winning Numbers&quot;)</source>
        <translation>keine Spalte enthält die %1 Zahlen von %2 bis %3 einer Ziehung: benennen Sie sie in einer Kopfzeile (etwa „Ball 1“ oder „Winning Numbers“)</translation>
    </message>
    <message>
        <source>the line holds a NUL byte: the file is binary or damaged</source>
        <translation>die Zeile enthält ein NUL-Byte: die Datei ist binär oder beschädigt</translation>
    </message>
    <message>
        <source>more than one &quot;+&quot;: only the bonus number follows a &quot;+&quot;</source>
        <translation>mehr als ein „+“: nur die Zusatzzahl folgt auf ein „+“</translation>
    </message>
    <message>
        <source>the bonus number is missing: write it after a &quot;+&quot;</source>
        <translation>die Zusatzzahl fehlt: schreiben Sie sie hinter ein „+“</translation>
    </message>
    <message>
        <source>the issue is missing</source>
        <translation>die Ziehungsnummer fehlt</translation>
    </message>
    <message>
        <source>expected %1 numbers after the issue, found %2</source>
        <translation>nach der Ziehungsnummer %1 Zahlen erwartet, %2 gefunden</translation>
    </message>
    <message>
        <source>expected one bonus number after the &quot;+&quot;, found %1</source>
        <translation>nach dem „+“ eine Zusatzzahl erwartet, %1 gefunden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number</source>
        <translation>„%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>&quot;%1 %2 %3&quot; is not a date</source>
        <translation>„%1 %2 %3“ ist kein Datum</translation>
    </message>
    <message>
        <source>&quot;%1 %2 %3&quot; is not a real date</source>
        <translation>„%1 %2 %3“ ist kein gültiges Datum</translation>
    </message>
    <message>
        <source>the date is missing</source>
        <translation>das Datum fehlt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date with a four-digit year</source>
        <translation>„%1“ ist kein Datum mit vierstelliger Jahreszahl</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a real date</source>
        <translation>„%1“ ist kein gültiges Datum</translation>
    </message>
    <message>
        <source>the bonus number is missing</source>
        <translation>die Zusatzzahl fehlt</translation>
    </message>
    <message>
        <source>the issue &quot;%1&quot; is not a number</source>
        <translation>die Ziehungsnummer „%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>the issue &quot;%1&quot; is longer than %2 digits</source>
        <translation>die Ziehungsnummer „%1“ ist länger als %2 Ziffern</translation>
    </message>
    <message>
        <source>with ten digits or more</source>
        <translation>mit zehn oder mehr Ziffern</translation>
    </message>
    <message>
        <source>the dates of column &quot;%1&quot; do not tell the day from the month (no number in either place is above 12, as in &quot;%2&quot;): choose the order in the preview</source>
        <translation>die Datumsangaben der Spalte „%1“ lassen Tag und Monat nicht unterscheiden (keine Zahl an einer der beiden Stellen ist größer als 12, wie in „%2“): wählen Sie die Reihenfolge in der Vorschau</translation>
    </message>
    <message>
        <source>%1 is not a real date (column &quot;%2&quot;)</source>
        <translation>%1 ist kein gültiges Datum (Spalte „%2“)</translation>
    </message>
    <message>
        <source>issue %1 is also on line %2 with other numbers</source>
        <translation>die Ziehungsnummer %1 steht auch in Zeile %2, mit anderen Zahlen</translation>
    </message>
    <message>
        <source>%1: issue %2 is held as &quot;%3&quot; but the file has &quot;%4&quot;</source>
        <translation>%1: Ziehungsnummer %2 ist als „%3“ gespeichert, die Datei hat aber „%4“</translation>
    </message>
    <message>
        <source>%1 new, %2 already held, %3 conflicting, %4 bad</source>
        <translation>%1 neu, %2 bereits vorhanden, %3 widersprüchlich, %4 fehlerhaft</translation>
    </message>
    <message>
        <source>, %1 repeated rows counted once</source>
        <translation>, %1 doppelte Zeilen einmal gezählt</translation>
    </message>
    <message>
        <source>more than one &quot;+&quot;: only the bonus numbers follow a &quot;+&quot;</source>
        <translation>mehr als ein „+“: nur die Zusatzzahlen folgen auf ein „+“</translation>
    </message>
    <message>
        <source>the bonus numbers are missing: write them after a &quot;+&quot;</source>
        <translation>die Zusatzzahlen fehlen: schreiben Sie sie hinter ein „+“</translation>
    </message>
    <message>
        <source>expected %1 bonus numbers after the &quot;+&quot;, found %2</source>
        <translation>nach dem „+“ %1 Zusatzzahlen erwartet, %2 gefunden</translation>
    </message>
    <message>
        <source>the bonus numbers are missing</source>
        <translation>die Zusatzzahlen fehlen</translation>
    </message>
    <message>
        <source>expected one bonus number, found %1</source>
        <translation>eine Zusatzzahl erwartet, %1 gefunden</translation>
    </message>
    <message>
        <source>expected %1 bonus numbers, found %2</source>
        <translation>%1 Zusatzzahlen erwartet, %2 gefunden</translation>
    </message>
    <message>
        <source>%1 %2 is out of range %3 to %4</source>
        <translation>%1 %2 liegt außerhalb des Bereichs %3 bis %4</translation>
    </message>
    <message>
        <source>%1 %2 is drawn twice</source>
        <translation>%1 %2 wurde zweimal gezogen</translation>
    </message>
    <message>
        <source>the draws of the file have %1 bonus numbers, those of %2 (%3) have %4; the smallest lottery that holds the whole file is %5 (%6): use --lottery %7</source>
        <translation>die Ziehungen der Datei haben %1 Zusatzzahlen, die von %2 (%3) haben %4; die kleinste Lotterie, die die ganze Datei fasst, ist %5 (%6): verwenden Sie --lottery %7</translation>
    </message>
    <message>
        <source>the draws outside %1 (%2) are listed above; the smallest lottery that holds the whole file is %3: use --lottery %3</source>
        <translation>die Ziehungen außerhalb von %1 (%2) sind oben aufgeführt; die kleinste Lotterie, die die ganze Datei fasst, ist %3: verwenden Sie --lottery %3</translation>
    </message>
    <message>
        <source>the line is %1 bytes long; a draw line holds at most %2</source>
        <translation>die Zeile ist %1 Bytes lang; eine Ziehungszeile hat höchstens %2</translation>
    </message>
</context>
<context>
    <name>StatisticsModel</name>
    <message>
        <source>%1 draws against %2 expected</source>
        <translation>%1-mal gezogen, %2-mal erwartet</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Zahl</translation>
    </message>
    <message>
        <source>Drawn</source>
        <translation>Gezogen</translation>
    </message>
    <message>
        <source>Draws since</source>
        <translation>Ziehungen seither</translation>
    </message>
    <message>
        <source>Longest gap</source>
        <translation>Längste Lücke</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Markierung</translation>
    </message>
    <message>
        <source>hot</source>
        <translation>heiß</translation>
    </message>
    <message>
        <source>cold</source>
        <translation>kalt</translation>
    </message>
    <message>
        <source>bonus %1</source>
        <translation>Zusatzzahl %1</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
</context>
<context>
    <name>VersionShelf</name>
    <message>
        <source>cannot create the folder %1 for earlier versions</source>
        <translation>der Ordner %1 für frühere Versionen kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>qrt::app::FrequencyChart</name>
    <message>
        <source>Basic numbers</source>
        <translation>Hauptzahlen</translation>
    </message>
    <message>
        <source>Bonus drum %1-%2</source>
        <translation>Zusatztrommel %1-%2</translation>
    </message>
    <message>
        <source>Bonus numbers</source>
        <translation>Zusatzzahlen</translation>
    </message>
    <message>
        <source>Bonus number</source>
        <translation>Zusatzzahl</translation>
    </message>
    <message>
        <source>How often each number was drawn: %1 draws, issues %2 to %3</source>
        <translation>Wie oft jede Zahl gezogen wurde: %1 Ziehungen, Nummern %2 bis %3</translation>
    </message>
    <message>
        <source>No draws in the chosen range</source>
        <translation>Keine Ziehungen im gewählten Bereich</translation>
    </message>
    <message>
        <source>%1 %2: %3 times in %4 draws</source>
        <translation>%1 %2: %3-mal in %4 Ziehungen</translation>
    </message>
    <message>
        <source>Show each count&apos;s departure from the expected count</source>
        <translation>Abweichung jeder Anzahl von der erwarteten Anzahl zeigen</translation>
    </message>
    <message>
        <source>Over many draws every number comes close to the count chance expects, and the bars look equal: this shows how far each is above or below it.</source>
        <translation>Über viele Ziehungen kommt jede Zahl der vom Zufall erwarteten Anzahl nahe, und die Balken sehen gleich aus: Dies zeigt, wie weit jede darüber oder darunter liegt.</translation>
    </message>
    <message>
        <source>Above (+) or below (-) the expected count: %1 draws, issues %2 to %3</source>
        <translation>Über (+) oder unter (-) der erwarteten Anzahl: %1 Ziehungen, Nummern %2 bis %3</translation>
    </message>
</context>
<context>
    <name>qrt::app::ImportPreview</name>
    <message>
        <source>Import Results</source>
        <translation>Ergebnisse importieren</translation>
    </message>
    <message>
        <source>Dates as found</source>
        <translation>Datum wie gefunden</translation>
    </message>
    <message>
        <source>Day before month</source>
        <translation>Tag vor Monat</translation>
    </message>
    <message>
        <source>Month before day</source>
        <translation>Monat vor Tag</translation>
    </message>
    <message>
        <source>%1 is read as %2.</source>
        <translation>%1 wird gelesen als %2.</translation>
    </message>
    <message>
        <source>Role of %1</source>
        <translation>Rolle von %1</translation>
    </message>
</context>
<context>
    <name>qrt::app::MainWindow</name>
    <message>
        <source>Data Manager</source>
        <translation>Datenverwaltung</translation>
    </message>
    <message>
        <source>The draws were not saved: %1. Nothing was changed on disk; your changes are still in the window.</source>
        <translation>Die Ziehungen wurden nicht gespeichert: %1. Auf der Festplatte wurde nichts geändert; Ihre Änderungen sind noch im Fenster.</translation>
    </message>
    <message>
        <source>Saved %1 draws</source>
        <translation>%1 Ziehungen gespeichert</translation>
    </message>
    <message>
        <source>Draws from</source>
        <translation>Ziehungen von</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>D&amp;atei</translation>
    </message>
    <message>
        <source>&amp;Open Draw File...</source>
        <translation>Ziehungsdatei ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Import CSV...</source>
        <translation>CSV &amp;importieren...</translation>
    </message>
    <message>
        <source>&amp;Export as CSV...</source>
        <translation>Als CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>Export &amp;Statistics as CSV...</source>
        <translation>S&amp;tatistik als CSV exportieren...</translation>
    </message>
    <message>
        <source>Export Statistics as CSV</source>
        <translation>Statistik als CSV exportieren</translation>
    </message>
    <message>
        <source>The statistics were exported, but: %1</source>
        <translation>Die Statistik wurde exportiert, aber: %1</translation>
    </message>
    <message>
        <source>The statistics were not exported: %1</source>
        <translation>Die Statistik wurde nicht exportiert: %1</translation>
    </message>
    <message>
        <source>Earlier &amp;Versions...</source>
        <translation>Frühere &amp;Versionen...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Go to Issue...</source>
        <translation>&amp;Gehe zu Ziehung...</translation>
    </message>
    <message>
        <source>&amp;Lottery</source>
        <translation>&amp;Lotterie</translation>
    </message>
    <message>
        <source>&amp;Custom...</source>
        <translation>&amp;Benutzerdefiniert...</translation>
    </message>
    <message>
        <source>Loading the draws of %1...</source>
        <translation>Die Ziehungen von %1 werden geladen...</translation>
    </message>
    <message>
        <source>%1 (error %2)</source>
        <translation>%1 (Fehler %2)</translation>
    </message>
    <message>
        <source>The first issue of the draws the chart counts</source>
        <translation>Die erste Ziehungsnummer der Ziehungen, die das Diagramm zählt</translation>
    </message>
    <message>
        <source>The last issue of the draws the chart counts</source>
        <translation>Die letzte Ziehungsnummer der Ziehungen, die das Diagramm zählt</translation>
    </message>
    <message>
        <source>How often each number was drawn</source>
        <translation>Wie oft jede Zahl gezogen wurde</translation>
    </message>
    <message>
        <source>A bar for each number of %1; a bar&apos;s tooltip gives its count</source>
        <translation>Ein Balken für jede Zahl von %1; der Tooltip eines Balkens nennt seine Anzahl</translation>
    </message>
    <message>
        <source>Draws of %1</source>
        <translation>Ziehungen von %1</translation>
    </message>
    <message>
        <source>One draw a row: the issue, then the numbers; the last row takes a new draw</source>
        <translation>Eine Ziehung pro Zeile: die Ziehungsnummer, dann die Zahlen; die letzte Zeile nimmt eine neue Ziehung auf</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Zelle</translation>
    </message>
    <message>
        <source>The text of the current cell; Enter moves to the next one</source>
        <translation>Der Text der aktuellen Zelle; die Eingabetaste wechselt zur nächsten</translation>
    </message>
    <message>
        <source>Saving the draws of %1...</source>
        <translation>Die Ziehungen von %1 werden gespeichert...</translation>
    </message>
    <message>
        <source>Add the draws of %1 that the history does not hold yet?</source>
        <translation>Die Ziehungen von %1 hinzufügen, die noch nicht in der Historie sind?</translation>
    </message>
    <message>
        <source>The draws of %1 were changed. Save them?</source>
        <translation>Die Ziehungen von %1 wurden geändert. Speichern?</translation>
    </message>
    <message>
        <source>  (no draws yet: type them into the last row, paste them, or open or import a file)</source>
        <translation>  (noch keine Ziehungen: tippen Sie sie in die letzte Zeile, fügen Sie sie ein oder öffnen oder importieren Sie eine Datei)</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>%1 was not loaded:
%2</source>
        <translation>%1 wurde nicht geladen:
%2</translation>
    </message>
    <message>
        <source>Draw file errors</source>
        <translation>Fehler in der Ziehungsdatei</translation>
    </message>
    <message>
        <source>The draws of %1 were read, but its backup could not be kept (%2), so saves will not write back to it.</source>
        <translation>Die Ziehungen von %1 wurden gelesen, aber ihre Sicherung konnte nicht aufbewahrt werden (%2), daher wird beim Speichern nicht dorthin zurückgeschrieben.</translation>
    </message>
    <message>
        <source>Read %1 draws from %2; Save keeps them and writes them back to it</source>
        <translation>%1 Ziehungen aus %2 gelesen; Speichern übernimmt sie und schreibt sie dorthin zurück</translation>
    </message>
    <message>
        <source>Read %1 draws from %2; Save keeps them</source>
        <translation>%1 Ziehungen aus %2 gelesen; Speichern übernimmt sie</translation>
    </message>
    <message>
        <source>Open Draw File</source>
        <translation>Ziehungsdatei öffnen</translation>
    </message>
    <message>
        <source>Text File(*.txt)|*.txt|All files|*</source>
        <translation>Textdatei(*.txt)|*.txt|Alle Dateien|*</translation>
    </message>
    <message>
        <source>Custom lottery</source>
        <translation>Benutzerdefinierte Lotterie</translation>
    </message>
    <message>
        <source>A bonus number follows the basic numbers</source>
        <translation>Auf die Hauptzahlen folgt eine Zusatzzahl</translation>
    </message>
    <message>
        <source>Bonus numbers come from a second drum</source>
        <translation>Zusatzzahlen kommen aus einer zweiten Trommel</translation>
    </message>
    <message>
        <source>Basic numbers per draw</source>
        <translation>Hauptzahlen pro Ziehung</translation>
    </message>
    <message>
        <source>Smallest number</source>
        <translation>Kleinste Zahl</translation>
    </message>
    <message>
        <source>Largest number</source>
        <translation>Größte Zahl</translation>
    </message>
    <message>
        <source>Bonus numbers per draw</source>
        <translation>Zusatzzahlen pro Ziehung</translation>
    </message>
    <message>
        <source>Smallest bonus number</source>
        <translation>Kleinste Zusatzzahl</translation>
    </message>
    <message>
        <source>Largest bonus number</source>
        <translation>Größte Zusatzzahl</translation>
    </message>
    <message>
        <source>Issue %1 is not in the draws of %2.</source>
        <translation>Die Ziehungsnummer %1 ist nicht in den Ziehungen von %2.</translation>
    </message>
    <message>
        <source>Go to Issue</source>
        <translation>Gehe zu Ziehung</translation>
    </message>
    <message>
        <source>Issue:</source>
        <translation>Ziehungsnummer:</translation>
    </message>
    <message>
        <source>Writing %1...</source>
        <translation>%1 wird geschrieben...</translation>
    </message>
    <message>
        <source>The draws were not exported: %1</source>
        <translation>Die Ziehungen wurden nicht exportiert: %1</translation>
    </message>
    <message>
        <source>The draws were exported, but: %1</source>
        <translation>Die Ziehungen wurden exportiert, aber: %1</translation>
    </message>
    <message>
        <source>Exported %1 draws to %2</source>
        <translation>%1 Ziehungen nach %2 exportiert</translation>
    </message>
    <message>
        <source>%1 was not loaded: %2</source>
        <translation>%1 wurde nicht geladen: %2</translation>
    </message>
    <message>
        <source>%1 has %2 bad lines:
%3

Import its other draws and skip these lines?</source>
        <translation>%1 hat %2 fehlerhafte Zeilen:
%3

Die übrigen Ziehungen importieren und diese Zeilen überspringen?</translation>
    </message>
    <message>
        <source>%1 was not imported: %2 issues are held with other numbers.
%3</source>
        <translation>%1 wurde nicht importiert: %2 Ziehungsnummern sind mit anderen Zahlen gespeichert.
%3</translation>
    </message>
    <message>
        <source>Read %1: %2; Save keeps them</source>
        <translation>%1 gelesen: %2; Speichern übernimmt sie</translation>
    </message>
    <message>
        <source>Export as CSV</source>
        <translation>Als CSV exportieren</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>CSV importieren</translation>
    </message>
    <message>
        <source>CSV|*.csv|All files|*</source>
        <translation>CSV|*.csv|Alle Dateien|*</translation>
    </message>
    <message>
        <source>draws unknown</source>
        <translation>Ziehungen unbekannt</translation>
    </message>
    <message>
        <source>%1 draws</source>
        <translation>%1 Ziehungen</translation>
    </message>
    <message>
        <source>There is no earlier version %1 of %2.</source>
        <translation>Es gibt keine frühere Version %1 von %2.</translation>
    </message>
    <message>
        <source>it holds draws of %1</source>
        <translation>sie enthält Ziehungen von %1</translation>
    </message>
    <message>
        <source>Version %1 cannot be used:
%2</source>
        <translation>Version %1 kann nicht verwendet werden:
%2</translation>
    </message>
    <message>
        <source>Version %1 (%2 draws) is shown; Save keeps it</source>
        <translation>Version %1 (%2 Ziehungen) wird angezeigt; Speichern übernimmt sie</translation>
    </message>
    <message>
        <source>No earlier versions of %1 are kept yet: each save keeps the state it replaces.</source>
        <translation>Von %1 sind noch keine früheren Versionen vorhanden: Jedes Speichern bewahrt den Stand auf, den es ersetzt.</translation>
    </message>
    <message>
        <source>Earlier Versions</source>
        <translation>Frühere Versionen</translation>
    </message>
    <message>
        <source>Each save kept the draws it replaced. Choose one to show it; Save then keeps it.</source>
        <translation>Jedes Speichern hat die Ziehungen aufbewahrt, die es ersetzt hat. Wählen Sie eine Version, um sie anzuzeigen; Speichern übernimmt sie dann.</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Typed draws could not be kept safe until saved: %1</source>
        <translation>Eingetippte Ziehungen konnten bis zum Speichern nicht gesichert werden: %1</translation>
    </message>
    <message>
        <source>The draws of %1 were changed and not saved when the program last ended (%2 rows after the first %3 saved draws). Bring the changes back?</source>
        <translation>Die Ziehungen von %1 wurden geändert und beim letzten Beenden des Programms nicht gespeichert (%2 Zeilen nach den ersten %3 gespeicherten Ziehungen). Die Änderungen zurückholen?</translation>
    </message>
    <message>
        <source>Import &amp;Results...</source>
        <translation>&amp;Ergebnisse importieren...</translation>
    </message>
    <message>
        <source>&amp;Update from the Web...</source>
        <translation>Aus dem &amp;Web aktualisieren...</translation>
    </message>
    <message>
        <source>Downloading %1...</source>
        <translation>%1 wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Update from the Web</source>
        <translation>Aus dem Web aktualisieren</translation>
    </message>
    <message>
        <source>Address of the published result file of %1:</source>
        <translation>Adresse der veröffentlichten Ergebnisdatei von %1:</translation>
    </message>
    <message>
        <source>Updating the draws of %1...</source>
        <translation>Die Ziehungen von %1 werden aktualisiert...</translation>
    </message>
    <message>
        <source>%1 holds %2 draws already. Add the draws of %3 that it does not hold (Yes), replace them all with the draws of the file (No), or cancel?</source>
        <translation>%1 enthält bereits %2 Ziehungen. Die Ziehungen aus %3 hinzufügen, die noch fehlen (Ja), alle durch die Ziehungen der Datei ersetzen (Nein) oder abbrechen?</translation>
    </message>
    <message>
        <source>%1 was not added: %2 issues are held with other numbers.
%3</source>
        <translation>%1 wurde nicht hinzugefügt: %2 Ziehungsnummern sind mit anderen Zahlen gespeichert.
%3</translation>
    </message>
    <message>
        <source>The draws are back as they were; Save keeps them</source>
        <translation>Die Ziehungen sind wieder wie vorher; Speichern übernimmt sie</translation>
    </message>
    <message>
        <source>Import Results</source>
        <translation>Ergebnisse importieren</translation>
    </message>
    <message>
        <source>Result files (*.csv *.txt)|*.csv;*.txt|All files|*</source>
        <translation>Ergebnisdateien (*.csv *.txt)|*.csv;*.txt|Alle Dateien|*</translation>
    </message>
    <message>
        <source>No draw is missing from the history of %1.</source>
        <translation>In der Historie von %1 fehlt keine Ziehung.</translation>
    </message>
    <message>
        <source>Missing Draws</source>
        <translation>Fehlende Ziehungen</translation>
    </message>
    <message>
        <source>%1 holes in the history of %2. Go to shows the draw held after the one chosen.</source>
        <translation>%1 Lücken in der Historie von %2. „Gehe zu“ zeigt die vorhandene Ziehung nach der gewählten.</translation>
    </message>
    <message>
        <source>Find &amp;Missing Draws...</source>
        <translation>&amp;Fehlende Ziehungen suchen...</translation>
    </message>
    <message>
        <source>

The smallest lottery that holds the whole file is %1; choose it under Lottery &gt; Custom.</source>
        <translation>

Die kleinste Lotterie, die die ganze Datei fasst, ist %1; wählen Sie sie unter Lotterie &gt; Benutzerdefiniert.</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Remove Custom Lottery...</source>
        <translation>Benutzerdefinierte Lotterie &amp;entfernen...</translation>
    </message>
    <message>
        <source>Adding the draws of %1...</source>
        <translation>Die Ziehungen aus %1 werden hinzugefügt...</translation>
    </message>
    <message>
        <source>Counting %1 draws...</source>
        <translation>%1 Ziehungen werden gezählt...</translation>
    </message>
    <message>
        <source>optional</source>
        <translation>optional</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Remove %1 from the Lottery menu? Its draws stay in %2; making a custom lottery of the same numbers again brings them back.</source>
        <translation>%1 aus dem Lotterie-Menü entfernen? Ihre Ziehungen bleiben in %2; eine benutzerdefinierte Lotterie mit denselben Zahlen holt sie zurück.</translation>
    </message>
    <message>
        <source>%1 was removed from the menu; its draws are kept</source>
        <translation>%1 wurde aus dem Menü entfernt; ihre Ziehungen bleiben erhalten</translation>
    </message>
    <message>
        <source>Remove Custom Lottery</source>
        <translation>Benutzerdefinierte Lotterie entfernen</translation>
    </message>
    <message>
        <source>Custom lottery to remove from the menu:</source>
        <translation>Benutzerdefinierte Lotterie, die aus dem Menü entfernt wird:</translation>
    </message>
    <message>
        <source>New draw, %1</source>
        <translation>Neue Ziehung, %1</translation>
    </message>
    <message>
        <source>Issue %1, %2</source>
        <translation>Ziehung %1, %2</translation>
    </message>
</context>
<context>
    <name>qrt::app::MessageDialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
</context>
<context>
    <name>qrt::app::StatisticsView</name>
    <message>
        <source>Statistics of the chosen draws</source>
        <translation>Statistik der gewählten Ziehungen</translation>
    </message>
    <message>
        <source>Per number: how often it was drawn, the draws since it last came, its longest gap and whether it is hot or cold; sort by any column</source>
        <translation>Pro Zahl: wie oft sie gezogen wurde, die Ziehungen seit ihrem letzten Erscheinen, ihre längste Lücke und ob sie heiß oder kalt ist; nach jeder Spalte sortierbar</translation>
    </message>
    <message>
        <source>Most frequent pairs: %1</source>
        <translation>Häufigste Paare: %1</translation>
    </message>
</context>
<context>
    <name>qrt::app::TextEditorWindow</name>
    <message>
        <source>%1 (not read: %2)</source>
        <translation>%1 (nicht gelesen: %2)</translation>
    </message>
    <message>
        <source>%1 was not saved: %2</source>
        <translation>%1 wurde nicht gespeichert: %2</translation>
    </message>
    <message>
        <source>%1 was saved, but: %2</source>
        <translation>%1 wurde gespeichert, aber: %2</translation>
    </message>
    <message>
        <source>%1 was changed. Save it?</source>
        <translation>%1 wurde geändert. Speichern?</translation>
    </message>
    <message>
        <source>Edit Text File</source>
        <translation>Textdatei bearbeiten</translation>
    </message>
</context>
</TS>
