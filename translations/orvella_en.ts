<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>Orvella</name>
    <message numerus="yes">
        <source> %i more events ...</source>
        <translation>
            <numerusform> %n more event ...</numerusform>
            <numerusform> %n more events ...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n missed reminders</source>
        <translation>
            <numerusform>%n missed reminder</numerusform>
            <numerusform>%n missed reminders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events</source>
        <translation>
            <numerusform>%n event</numerusform>
            <numerusform>%n events</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events were changed both here and on the server of “%2”. Both versions are kept: this computer's has “ (changed on this computer)” in its title.</source>
        <translation>
            <numerusform>%n event was changed both here and on the server of “%2”. Both versions are kept: this computer's has “ (changed on this computer)” in its title.</numerusform>
            <numerusform>%n events were changed both here and on the server of “%2”. Both versions are kept: this computer's has “ (changed on this computer)” in its title.</numerusform>
        </translation>
    </message>
</context>
</TS>
