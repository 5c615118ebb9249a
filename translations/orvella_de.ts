<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>Orvella</name>
    <message numerus="yes">
        <source> %i more events ...</source>
        <translation>
            <numerusform> %n weiterer ...</numerusform>
            <numerusform> %n weitere ...</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 events cannot be read:</source>
        <translation>%1 Termine können nicht gelesen werden:</translation>
    </message>
    <message>
        <source>%@ after</source>
        <translation>%@ danach</translation>
    </message>
    <message>
        <source>%@ and %@</source>
        <translation>%@ und %@</translation>
    </message>
    <message>
        <source>%@ before</source>
        <translation>%@ vorher</translation>
    </message>
    <message>
        <source>%@ days</source>
        <translation>%@ Tage</translation>
    </message>
    <message>
        <source>%@ hours</source>
        <translation>%@ Stunden</translation>
    </message>
    <message>
        <source>%@ minutes</source>
        <translation>%@ Minuten</translation>
    </message>
    <message>
        <source>%@ times</source>
        <translation>%@-mal</translation>
    </message>
    <message>
        <source>%@.</source>
        <translation>%@.</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>1 day before</source>
        <translation>1 Tag vorher</translation>
    </message>
    <message>
        <source>1 event cannot be read:</source>
        <translation>1 Termin kann nicht gelesen werden:</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>1 hour before</source>
        <translation>1 Stunde vorher</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>15 minutes before</source>
        <translation>15 Minuten vorher</translation>
    </message>
    <message>
        <source>2 days before</source>
        <translation>2 Tage vorher</translation>
    </message>
    <message>
        <source>2 hours before</source>
        <translation>2 Stunden vorher</translation>
    </message>
    <message>
        <source>30 minutes before</source>
        <translation>30 Minuten vorher</translation>
    </message>
    <message>
        <source>5 minutes before</source>
        <translation>5 Minuten vorher</translation>
    </message>
    <message>
        <source>Add Calendar</source>
        <translation>Neuer Kalender</translation>
    </message>
    <message>
        <source>Add Calendar...</source>
        <translation>Kalender hinzufügen...</translation>
    </message>
    <message>
        <source>Add Event</source>
        <translation>Neuer Termin</translation>
    </message>
    <message>
        <source>Add Event</source>
        <comment>Button</comment>
        <translation>Termin hinzufügen</translation>
    </message>
    <message>
        <source>After %@ times</source>
        <translation>Nach %@ Wiederholungen</translation>
    </message>
    <message>
        <source>after 1 hour</source>
        <translation>nach 1 Stunde</translation>
    </message>
    <message>
        <source>after 1 minute</source>
        <translation>nach 1 Minute</translation>
    </message>
    <message>
        <source>After 1 time</source>
        <translation>Nach 1 Wiederholung</translation>
    </message>
    <message>
        <source>after 15 minutes</source>
        <translation>nach 15 Minuten</translation>
    </message>
    <message>
        <source>after 15 seconds</source>
        <translation>nach 15 Sekunden</translation>
    </message>
    <message>
        <source>after 2 hours</source>
        <translation>nach 2 Stunden</translation>
    </message>
    <message>
        <source>after 30 minutes</source>
        <translation>nach 30 Minuten</translation>
    </message>
    <message>
        <source>after 5 minutes</source>
        <translation>nach 5 Minuten</translation>
    </message>
    <message>
        <source>Alert</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>All-day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <source>all-day</source>
        <translation>ganztägig</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>April</source>
        <translation>April</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this calendar? All events associated with the calendar will also be deleted.</source>
        <translation>Möchtest du diesen Kalender wirklich löschen? Alle Termine des Kalenders werden ebenfalls gelöscht.</translation>
    </message>
    <message>
        <source>At time of event</source>
        <translation>Zum Terminbeginn</translation>
    </message>
    <message>
        <source>August</source>
        <translation>August</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Back to Current Week</source>
        <translation>Zurück zur aktuellen Woche</translation>
    </message>
    <message>
        <source>Birthdays</source>
        <translation>Geburtstage</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Brown</source>
        <translation>Braun</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Calendar is hidden</source>
        <translation>Kalender ist ausgeblendet</translation>
    </message>
    <message>
        <source>Calendar Name</source>
        <translation>Kalendername</translation>
    </message>
    <message>
        <source>Calendars</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot Import</source>
        <translation>Import nicht möglich</translation>
    </message>
    <message>
        <source>Cannot Open File</source>
        <translation>Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot open the calendar</source>
        <translation>Kalender kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot Save Event</source>
        <translation>Sichern nicht möglich</translation>
    </message>
    <message>
        <source>Choose a color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Copy</source>
        <comment>menu</comment>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>Custom Color</source>
        <translation>Eigene Farbe</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>December</source>
        <translation>Dezember</translation>
    </message>
    <message>
        <source>Default 2nd Alert</source>
        <translation>Standard-Erinnerung 2</translation>
    </message>
    <message>
        <source>Default Alert</source>
        <translation>Standard-Erinnerung</translation>
    </message>
    <message>
        <source>Default Calendar</source>
        <translation>Standardkalender</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>menu</comment>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete all future events</source>
        <translation>Alle künftigen löschen</translation>
    </message>
    <message>
        <source>Delete Calendar</source>
        <translation>Kalender löschen</translation>
    </message>
    <message>
        <source>Delete Calendar</source>
        <comment>actionSheet</comment>
        <translation>Kalender löschen</translation>
    </message>
    <message>
        <source>Delete Event</source>
        <translation>Termin löschen</translation>
    </message>
    <message>
        <source>Delete this event only</source>
        <translation>Nur diesen Termin löschen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit Calendar</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit Calendars</source>
        <translation>Kalender bearbeiten</translation>
    </message>
    <message>
        <source>Edit Event</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Emergency Call</source>
        <translation>Notruf</translation>
    </message>
    <message>
        <source>End Repeat</source>
        <translation>Endet</translation>
    </message>
    <message>
        <source>Ends</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Enter the end of the repetition as %@, or leave it empty.</source>
        <translation>Gib das Ende der Wiederholung als %@ ein oder lass das Feld leer.</translation>
    </message>
    <message>
        <source>Event Details</source>
        <translation>Termindetails</translation>
    </message>
    <message>
        <source>Events shown:
Longer than 1 day
(for example holidays).</source>
        <translation>Hier stehen Termine,
die länger als 1 Tag dauern
(zum Beispiel Ferien).</translation>
    </message>
    <message>
        <source>Every %@ days</source>
        <translation>Alle %@ Tage</translation>
    </message>
    <message>
        <source>Every %@ hours</source>
        <translation>Alle %@ Stunden</translation>
    </message>
    <message>
        <source>Every %@ minutes</source>
        <translation>Alle %@ Minuten</translation>
    </message>
    <message>
        <source>Every %@ months</source>
        <translation>Alle %@ Monate</translation>
    </message>
    <message>
        <source>Every %@ seconds</source>
        <translation>Alle %@ Sekunden</translation>
    </message>
    <message>
        <source>Every %@ weeks</source>
        <translation>Alle %@ Wochen</translation>
    </message>
    <message>
        <source>Every %@ years</source>
        <translation>Alle %@ Jahre</translation>
    </message>
    <message>
        <source>Every 2 Weeks</source>
        <translation>Alle 2 Wochen</translation>
    </message>
    <message>
        <source>Every Day</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Every hour</source>
        <translation>Stündlich</translation>
    </message>
    <message>
        <source>Every minute</source>
        <translation>Jede Minute</translation>
    </message>
    <message>
        <source>Every Month</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Every month</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Every second</source>
        <translation>Jede Sekunde</translation>
    </message>
    <message>
        <source>Every Week</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Every week</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Every Year</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Every year</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>February</source>
        <translation>Februar</translation>
    </message>
    <message>
        <source>fifth</source>
        <translation>fünften</translation>
    </message>
    <message>
        <source>first</source>
        <translation>ersten</translation>
    </message>
    <message>
        <source>fourth</source>
        <translation>vierten</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <source>Friday and Saturday</source>
        <translation>Freitag und Samstag</translation>
    </message>
    <message>
        <source>from %@</source>
        <translation>von %@</translation>
    </message>
    <message>
        <source>from %@ to %@</source>
        <translation>von %@ bis %@</translation>
    </message>
    <message>
        <source>Gardening</source>
        <translation>Gartenarbeit</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Los</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Tipp</translation>
    </message>
    <message>
        <source>Hints Enabled</source>
        <translation>Tipps anzeigen</translation>
    </message>
    <message>
        <source>If you enjoy using %@, would you mind taking a moment to rate it? It won't take more than a minute. Thanks for your support!</source>
        <translation>Gefällt dir %@? Dann nimm dir doch einen Moment Zeit für eine Bewertung. Es dauert nicht länger als eine Minute. Danke für deine Unterstützung!</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>in %@</source>
        <translation>im %@</translation>
    </message>
    <message>
        <source>in the %@ calendar</source>
        <translation>im Kalender %@</translation>
    </message>
    <message>
        <source>International (ISO-8601)</source>
        <translation>International (ISO 8601)</translation>
    </message>
    <message>
        <source>January</source>
        <translation>Januar</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Beitreten</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Juli</translation>
    </message>
    <message>
        <source>Jump to Week</source>
        <translation>Zur Woche</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Juni</translation>
    </message>
    <message>
        <source>last</source>
        <translation>letzten</translation>
    </message>
    <message>
        <source>leap month %@</source>
        <translation>Schaltmonat %@</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Making it default will make it visible. Continue?</source>
        <translation>Als Standardkalender wird er wieder eingeblendet. Fortfahren?</translation>
    </message>
    <message>
        <source>March</source>
        <translation>März</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>month %@</source>
        <translation>Monat %@</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Move</source>
        <comment>menu</comment>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Move all future events</source>
        <translation>Alle künftigen verschieben</translation>
    </message>
    <message>
        <source>Move this event only</source>
        <translation>Nur diesen verschieben</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>New Event</source>
        <translation>Neuer Termin</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>No calendar takes events</source>
        <translation>Kein Kalender nimmt Termine auf</translation>
    </message>
    <message>
        <source>No events to import</source>
        <translation>Keine Termine zum Importieren</translation>
    </message>
    <message>
        <source>No more results</source>
        <translation>Keine weiteren Treffer</translation>
    </message>
    <message>
        <source>No results</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>No, Thanks</source>
        <translation>Nein, danke</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>November</source>
        <translation>November</translation>
    </message>
    <message>
        <source>October</source>
        <translation>Oktober</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>on %@</source>
        <translation>am %@</translation>
    </message>
    <message>
        <source>On date of event</source>
        <translation>Am Tag des Termins</translation>
    </message>
    <message>
        <source>On each reopen</source>
        <translation>Bei jedem Öffnen</translation>
    </message>
    <message>
        <source>On My iPhone</source>
        <translation>Auf diesem Computer</translation>
    </message>
    <message>
        <source>on the %@ of %@</source>
        <translation>am %@ von %@</translation>
    </message>
    <message>
        <source>once</source>
        <translation>einmal</translation>
    </message>
    <message>
        <source>or</source>
        <translation>oder</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstige</translation>
    </message>
    <message>
        <source>Photo Course</source>
        <translation>Fotokurs</translation>
    </message>
    <message>
        <source>Pick a Week</source>
        <translation>Woche wählen</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Lila</translation>
    </message>
    <message>
        <source>Rate %@</source>
        <translation>%@ bewerten</translation>
    </message>
    <message>
        <source>rateTitle</source>
        <translation>%@ bewerten</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>return</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <source>Saturday and Sunday</source>
        <translation>Samstag und Sonntag</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>Save for future events</source>
        <translation>Alle künftigen sichern</translation>
    </message>
    <message>
        <source>Save for this event</source>
        <translation>Nur diesen Termin sichern</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search</source>
        <comment>keyboard</comment>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>second</source>
        <translation>zweiten</translation>
    </message>
    <message>
        <source>Second Alert</source>
        <translation>Zweite Erinnerung</translation>
    </message>
    <message>
        <source>second to last</source>
        <translation>vorletzten</translation>
    </message>
    <message>
        <source>Select a new date for the event</source>
        <translation>Neues Datum für den Termin wählen</translation>
    </message>
    <message>
        <source>Select date to copy the event to</source>
        <translation>Datum für die Kopie wählen</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>September</source>
        <translation>September</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>Start &amp; End</source>
        <translation>Beginn &amp; Ende</translation>
    </message>
    <message>
        <source>Starts</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>Subscribed Calendars</source>
        <translation>Abonnierte Kalender</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Tap and hold on an event to quickly move it to another day.</source>
        <translation>Halte einen Termin gedrückt, um ihn schnell auf einen anderen Tag zu verschieben.</translation>
    </message>
    <message>
        <source>Tap on the week/year button at the top to directly jump to the desired week.</source>
        <translation>Tippe oben auf die Woche/Jahr-Taste, um direkt zur gewünschten Woche zu springen.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>the %@ %@</source>
        <translation>%@ %@</translation>
    </message>
    <message>
        <source>the %@ day</source>
        <translation>%@ Tag</translation>
    </message>
    <message>
        <source>the %@.</source>
        <translation>%@.</translation>
    </message>
    <message>
        <source>The [More] button opens the full event editor. Use it to set additional options for the event, such as its address and notes.</source>
        <translation>Die Taste [Mehr] öffnet den vollständigen Editor. Dort legst du weitere Optionen des Termins fest, etwa Adresse und Notizen.</translation>
    </message>
    <message>
        <source>The event cannot end before it starts.</source>
        <translation>Der Termin kann nicht vor seinem Beginn enden.</translation>
    </message>
    <message>
        <source>The repetition cannot end before the event starts.</source>
        <translation>Die Wiederholung kann nicht vor dem Beginn des Termins enden.</translation>
    </message>
    <message>
        <source>third</source>
        <translation>dritten</translation>
    </message>
    <message>
        <source>This feature is only available for iOS 5.0 and above. Update your iPhone to the latest version of iOS via Settings &gt; General &gt; Software Update.</source>
        <translation>Diese Funktion gibt es erst ab iOS 5.0. Aktualisiere dein iPhone unter Einstellungen &gt; Allgemein &gt; Softwareaktualisierung auf die neueste iOS-Version.</translation>
    </message>
    <message>
        <source>This is a repeating event.</source>
        <comment>Delete</comment>
        <translation>Dies ist ein sich wiederholender Termin.</translation>
    </message>
    <message>
        <source>This is a repeating event.</source>
        <comment>Move</comment>
        <translation>Dies ist ein sich wiederholender Termin.</translation>
    </message>
    <message>
        <source>This is a repeating event.</source>
        <comment>Save</comment>
        <translation>Dies ist ein sich wiederholender Termin.</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <source>Thursday and Friday</source>
        <translation>Donnerstag und Freitag</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Time Zone</source>
        <translation>Zeitzone</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>to %@</source>
        <translation>bis %@</translation>
    </message>
    <message>
        <source>To create additional events for the same day, tap on the day header.</source>
        <translation>Für weitere Termine am selben Tag tippe auf die Kopfzeile des Tages.</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <source>until %@</source>
        <translation>bis %@</translation>
    </message>
    <message>
        <source>Untitled Calendar</source>
        <translation>Unbenannter Kalender</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>USA</source>
        <translation>USA</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <source>Week %@</source>
        <translation>Woche %@</translation>
    </message>
    <message>
        <source>Week Numbering Method</source>
        <translation>Wochenzählung</translation>
    </message>
    <message>
        <source>Weekend on</source>
        <translation>Wochenende</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>You can also swipe up to activate search.</source>
        <translation>Zum Suchen kannst du auch nach oben wischen.</translation>
    </message>
    <message>
        <source>You can also tap on any empty space to add an event.</source>
        <translation>Du kannst auch auf eine freie Stelle tippen, um einen Termin hinzuzufügen.</translation>
    </message>
    <message>
        <source>You can also tap on the week/year button at the top to jump to the desired week.</source>
        <translation>Du kannst auch oben auf die Woche/Jahr-Taste tippen, um zur gewünschten Woche zu springen.</translation>
    </message>
    <message>
        <source>You can use a pinch gesture (zoom with two fingers) on a day to list all events.</source>
        <translation>Zieh einen Tag mit zwei Fingern auf (Zoom-Geste), um alle seine Termine aufzulisten.</translation>
    </message>
    <message>
        <source>You cannot hide the default calendar (see settings).</source>
        <translation>Der Standardkalender kann nicht ausgeblendet werden (siehe Einstellungen).</translation>
    </message>
    <message>
        <source>Left, Right</source>
        <comment>Keys</comment>
        <translation>Links, Rechts</translation>
    </message>
    <message>
        <source>Page Up, Page Down</source>
        <comment>Keys</comment>
        <translation>Bild auf, Bild ab</translation>
    </message>
    <message>
        <source>Wheel, touchpad</source>
        <comment>Keys</comment>
        <translation>Mausrad, Touchpad</translation>
    </message>
    <message>
        <source>Home, T</source>
        <comment>Keys</comment>
        <translation>Pos1, T</translation>
    </message>
    <message>
        <source>N</source>
        <comment>Keys</comment>
        <translation>N</translation>
    </message>
    <message>
        <source>Alt + arrows</source>
        <comment>Keys</comment>
        <translation>Alt + Pfeiltasten</translation>
    </message>
    <message>
        <source>Return, Space</source>
        <comment>Keys</comment>
        <translation>Eingabe, Leertaste</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>Keys</comment>
        <translation>Entf</translation>
    </message>
    <message>
        <source>Ctrl + Z</source>
        <comment>Keys</comment>
        <translation>Strg + Z</translation>
    </message>
    <message>
        <source>Ctrl + F</source>
        <comment>Keys</comment>
        <translation>Strg + F</translation>
    </message>
    <message>
        <source>Tab, Shift + Tab</source>
        <comment>Keys</comment>
        <translation>Tab, Umschalt + Tab</translation>
    </message>
    <message>
        <source>Escape</source>
        <comment>Keys</comment>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Ctrl + Left, Ctrl + Right</source>
        <comment>Keys</comment>
        <translation>Strg + Links, Strg + Rechts</translation>
    </message>
    <message>
        <source>Ctrl + wheel</source>
        <comment>Keys</comment>
        <translation>Strg + Mausrad</translation>
    </message>
    <message>
        <source>Ctrl + Q, Ctrl + W</source>
        <comment>Keys</comment>
        <translation>Strg + Q, Strg + W</translation>
    </message>
    <message>
        <source>Previous or next week</source>
        <translation>Vorige oder nächste Woche</translation>
    </message>
    <message>
        <source>Scroll the weeks</source>
        <translation>Durch die Wochen blättern</translation>
    </message>
    <message>
        <source>Back to the current week</source>
        <translation>Zurück zur aktuellen Woche</translation>
    </message>
    <message>
        <source>New event on the selected day or today</source>
        <translation>Neuer Termin am gewählten Tag oder heute</translation>
    </message>
    <message>
        <source>Select an event or a day</source>
        <translation>Termin oder Tag auswählen</translation>
    </message>
    <message>
        <source>Open the selected event</source>
        <translation>Gewählten Termin öffnen</translation>
    </message>
    <message>
        <source>Delete the selected event</source>
        <translation>Gewählten Termin löschen</translation>
    </message>
    <message>
        <source>Undo the last deletion, copy or move</source>
        <translation>Letztes Löschen, Kopieren oder Verschieben zurücknehmen</translation>
    </message>
    <message>
        <source>Next or previous field</source>
        <translation>Nächstes oder voriges Feld</translation>
    </message>
    <message>
        <source>Cancel or close what is on top</source>
        <translation>Abbrechen oder das Oberste schließen</translation>
    </message>
    <message>
        <source>Turn the screen (three weeks in landscape)</source>
        <translation>Bildschirm drehen (quer: drei Wochen)</translation>
    </message>
    <message>
        <source>Zoom in or out (a pinch)</source>
        <translation>Vergrößern oder verkleinern</translation>
    </message>
    <message>
        <source>Close the window</source>
        <translation>Fenster schließen</translation>
    </message>
    <message>
        <source>All day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Reminders When Closed</source>
        <translation>Erinnern, wenn geschlossen</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Später erinnern</translation>
    </message>
    <message numerus="yes">
        <source>%n missed reminders</source>
        <translation>
            <numerusform>%n verpasste Erinnerung</numerusform>
            <numerusform>%n verpasste Erinnerungen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events</source>
        <translation>
            <numerusform>%n Termin</numerusform>
            <numerusform>%n Termine</numerusform>
        </translation>
    </message>
    <message>
        <source>no events</source>
        <translation>keine Termine</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Konten</translation>
    </message>
    <message>
        <source>Syncing…</source>
        <translation>Wird synchronisiert …</translation>
    </message>
    <message>
        <source>Last synced %1</source>
        <translation>Zuletzt synchronisiert: %1</translation>
    </message>
    <message>
        <source>Never synced</source>
        <translation>Noch nie synchronisiert</translation>
    </message>
    <message>
        <source>Changed Elsewhere</source>
        <translation>Anderswo geändert</translation>
    </message>
    <message>
        <source>Discard Mine</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Save Mine</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>This event was changed by a sync or another program while you were editing it. Save your version over that change?</source>
        <translation>Dieser Termin wurde während Ihrer Bearbeitung durch einen Abgleich oder ein anderes Programm geändert. Ihre Fassung über diese Änderung sichern?</translation>
    </message>
    <message>
        <source>Remove Account</source>
        <translation>Konto entfernen</translation>
    </message>
    <message>
        <source>Remove “%1”? Its calendars and events are removed from this computer; the server keeps them.</source>
        <translation>„%1“ entfernen? Seine Kalender und Termine werden von diesem Computer entfernt; der Server behält sie.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Cannot Remove Account</source>
        <translation>Konto kann nicht entfernt werden</translation>
    </message>
    <message>
        <source>Sync Now</source>
        <translation>Jetzt synchronisieren</translation>
    </message>
    <message>
        <source>Add Account</source>
        <translation>Konto hinzufügen</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>User Name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Account Name</source>
        <translation>Kontoname</translation>
    </message>
    <message>
        <source>Required</source>
        <translation>Erforderlich</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>Confirm the server's certificate</source>
        <translation>Zertifikat des Servers bestätigen</translation>
    </message>
    <message>
        <source>SHA-256 fingerprint:</source>
        <translation>SHA-256-Fingerabdruck:</translation>
    </message>
    <message>
        <source>Trust</source>
        <translation>Vertrauen</translation>
    </message>
    <message>
        <source>Password for “%1”</source>
        <translation>Passwort für „%1“</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Abgleichen</translation>
    </message>
    <message>
        <source>Changed on both sides</source>
        <translation>Auf beiden Seiten geändert</translation>
    </message>
    <message numerus="yes">
        <source>%n events were changed both here and on the server of “%2”. Both versions are kept: this computer's has “ (changed on this computer)” in its title.</source>
        <translation>
            <numerusform>%n Termin wurde hier und auf dem Server von „%2“ geändert. Beide Fassungen bleiben erhalten: die dieses Computers hat „ (changed on this computer)“ im Titel.</numerusform>
            <numerusform>%n Termine wurden hier und auf dem Server von „%2“ geändert. Beide Fassungen bleiben erhalten: die dieses Computers hat „ (changed on this computer)“ im Titel.</numerusform>
        </translation>
    </message>
    <message>
        <source>No keyring took the password of %1: it is asked again at the next start</source>
        <translation>Kein Schlüsselbund hat das Passwort von %1 aufgenommen: Es wird beim nächsten Start erneut abgefragt</translation>
    </message>
    <message>
        <source>The account is no longer there.</source>
        <translation>Das Konto ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>The password of this account is not known.</source>
        <translation>Das Passwort dieses Kontos ist nicht bekannt.</translation>
    </message>
    <message>
        <source>The sync of %1 stopped: %2</source>
        <translation>Der Abgleich von %1 wurde abgebrochen: %2</translation>
    </message>
    <message>
        <source>Left on the server of %1: %2</source>
        <translation>Auf dem Server von %1 belassen: %2</translation>
    </message>
    <message>
        <source>The server refused the user name or password for %1</source>
        <translation>Der Server hat den Benutzernamen oder das Passwort für %1 abgelehnt</translation>
    </message>
    <message>
        <source>%1 does not allow this account to %2</source>
        <translation>%1 erlaubt diesem Konto nicht, %2</translation>
    </message>
    <message>
        <source>%1 does not exist on the server</source>
        <translation>%1 existiert auf dem Server nicht</translation>
    </message>
    <message>
        <source>%1 was changed on the server since it was last read, so it was not possible to %2</source>
        <translation>%1 wurde auf dem Server geändert, seit es zuletzt gelesen wurde; daher war es nicht möglich, %2</translation>
    </message>
    <message>
        <source>%1 answered with status %2 when asked to %3</source>
        <translation>%1 antwortete mit Status %2 auf die Bitte, %3</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it does not answer WebDAV requests</source>
        <translation>%1 ist kein CalDAV-Server: Er beantwortet keine WebDAV-Anfragen</translation>
    </message>
    <message>
        <source>read its properties</source>
        <translation>seine Eigenschaften zu lesen</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it names no calendars for the user, nor does %2</source>
        <translation>%1 ist kein CalDAV-Server: Er nennt keine Kalender für den Benutzer, und %2 auch nicht</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: %2</source>
        <translation>%1 ist kein CalDAV-Server: %2</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it names no principal for the user</source>
        <translation>%1 ist kein CalDAV-Server: Er nennt keinen Prinzipal für den Benutzer</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it names no calendar home for the user</source>
        <translation>%1 ist kein CalDAV-Server: Er nennt keinen Kalenderordner für den Benutzer</translation>
    </message>
    <message>
        <source>%1 is not a calendar</source>
        <translation>%1 ist kein Kalender</translation>
    </message>
    <message>
        <source>%1 no longer accepts the sync token; the calendar has to be read whole</source>
        <translation>%1 nimmt das Abgleichszeichen nicht mehr an; der Kalender muss ganz gelesen werden</translation>
    </message>
    <message>
        <source>list its changes</source>
        <translation>seine Änderungen aufzulisten</translation>
    </message>
    <message>
        <source>give its events</source>
        <translation>seine Termine zu liefern</translation>
    </message>
    <message>
        <source>give the event</source>
        <translation>den Termin zu liefern</translation>
    </message>
    <message>
        <source>create it</source>
        <translation>ihn anzulegen</translation>
    </message>
    <message>
        <source>replace it</source>
        <translation>ihn zu ersetzen</translation>
    </message>
    <message>
        <source>delete it</source>
        <translation>ihn zu löschen</translation>
    </message>
    <message>
        <source>create the calendar</source>
        <translation>den Kalender anzulegen</translation>
    </message>
    <message>
        <source>rename the calendar</source>
        <translation>den Kalender umzubenennen</translation>
    </message>
    <message>
        <source>%1 did not take the new name and colour (status %2)</source>
        <translation>%1 hat den neuen Namen und die neue Farbe nicht übernommen (Status %2)</translation>
    </message>
    <message>
        <source>delete the calendar</source>
        <translation>den Kalender zu löschen</translation>
    </message>
    <message>
        <source>“%1” is not an http:// or https:// address</source>
        <translation>„%1“ ist keine http://- oder https://-Adresse</translation>
    </message>
    <message>
        <source>An account needs a name.</source>
        <translation>Ein Konto braucht einen Namen.</translation>
    </message>
    <message>
        <source>There is already an account named “%1”.</source>
        <translation>Es gibt bereits ein Konto namens „%1“.</translation>
    </message>
    <message>
        <source>The account “%1” is not in the store.</source>
        <translation>Das Konto „%1“ ist nicht im Speicher.</translation>
    </message>
    <message>
        <source>Looking for the calendars of “%1”</source>
        <translation>Kalender von „%1“ werden gesucht</translation>
    </message>
    <message>
        <source>Syncing “%1”</source>
        <translation>„%1“ wird abgeglichen</translation>
    </message>
    <message>
        <source>Making “%1” on the server</source>
        <translation>„%1“ wird auf dem Server angelegt</translation>
    </message>
    <message>
        <source>Renaming “%1” on the server</source>
        <translation>„%1“ wird auf dem Server umbenannt</translation>
    </message>
    <message>
        <source>Removing a calendar on the server</source>
        <translation>Ein Kalender wird auf dem Server entfernt</translation>
    </message>
    <message>
        <source>Fetching %1 of %2 events of “%3”</source>
        <translation>%1 von %2 Terminen von „%3“ werden geladen</translation>
    </message>
    <message>
        <source>%1 holds no event</source>
        <translation>%1 enthält keinen Termin</translation>
    </message>
    <message>
        <source>%1 holds more than one event (more than one UID)</source>
        <translation>%1 enthält mehr als einen Termin (mehr als eine UID)</translation>
    </message>
    <message>
        <source>The answer of %1 cannot be read: %2</source>
        <translation>Die Antwort von %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 on line %2</source>
        <translation>%1 in Zeile %2</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>sie ist leer</translation>
    </message>
    <message>
        <source>it is not a WebDAV multistatus</source>
        <translation>sie ist kein WebDAV-Multistatus</translation>
    </message>
    <message>
        <source>The keyring gave no password: %1</source>
        <translation>Der Schlüsselbund hat kein Passwort geliefert: %1</translation>
    </message>
    <message>
        <source>The keyring did not keep the password: %1</source>
        <translation>Der Schlüsselbund hat das Passwort nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>The keyring kept a removed account's password: %1</source>
        <translation>Der Schlüsselbund hat das Passwort eines entfernten Kontos behalten: %1</translation>
    </message>
    <message>
        <source>%1 is a plain http:// address; only https:// addresses are used for other computers than this one</source>
        <translation>%1 ist eine einfache http://-Adresse; für andere Computer als diesen werden nur https://-Adressen verwendet</translation>
    </message>
    <message>
        <source>%1 is not an https:// address</source>
        <translation>%1 ist keine https://-Adresse</translation>
    </message>
    <message>
        <source>%1 sent the request on to %2, another server; it was not followed so that the password stays with %3</source>
        <translation>%1 hat die Anfrage an %2, einen anderen Server, weitergeleitet; dem wurde nicht gefolgt, damit das Passwort bei %3 bleibt</translation>
    </message>
    <message>
        <source>%1 sent the request on more than %2 times</source>
        <translation>%1 hat die Anfrage mehr als %2-mal weitergeleitet</translation>
    </message>
    <message>
        <source>%1 did not answer completely within %2 seconds</source>
        <translation>%1 hat nicht innerhalb von %2 Sekunden vollständig geantwortet</translation>
    </message>
    <message>
        <source>The answer of %1 is larger than the %2 bytes allowed</source>
        <translation>Die Antwort von %1 ist größer als die erlaubten %2 Bytes</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted: %2</source>
        <translation>Dem Zertifikat von %1 wird nicht vertraut: %2</translation>
    </message>
    <message>
        <source>Could not reach %1: %2</source>
        <translation>%1 war nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>%1 is not a webcal://, https:// or http:// address</source>
        <translation>%1 ist keine webcal://-, https://- oder http://-Adresse</translation>
    </message>
    <message>
        <source>%1 is already subscribed as “%2”</source>
        <translation>%1 ist bereits als „%2“ abonniert</translation>
    </message>
    <message>
        <source>the subscription to %1 was not kept</source>
        <translation>das Abonnement von %1 wurde nicht gespeichert</translation>
    </message>
    <message>
        <source>the calendar “%1” keeps its events: %2</source>
        <translation>der Kalender „%1“ behält seine Termine: %2</translation>
    </message>
    <message>
        <source>%1 answered with status %2</source>
        <translation>%1 antwortete mit Status %2</translation>
    </message>
    <message>
        <source>“%1” stays on this computer: the account is one calendar's address, under which no calendar can be made</source>
        <translation>„%1“ bleibt auf diesem Computer: Das Konto ist die Adresse eines einzelnen Kalenders, unter der kein Kalender angelegt werden kann</translation>
    </message>
</context>
</TS>
