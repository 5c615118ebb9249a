#pragma once

#include "core/objectstore/PersistentObject.h"

#include <QString>

#include <memory>
#include <vector>

class HintPresenter;
class HintsSetting;
class PersistentClass;

// A one-time tip, kept in the object store ("hint" table of "orvella.sqlite" in the data
// folder). It counts how often the situation it explains arose and is shown on the 3rd, 7th
// and 12th time (or only the 1st for first-time-only hints); never once it is invalid (the user
// showed that he knows the feature), never while another hint is on screen, and not at all
// while hints are switched off. The class operations that read the store expect loadHints (or
// createEditableCopyOfDatabaseIfNeeded) to have pointed the store at the database. Main thread
// only.
class Hint : public PersistentObject {
public:
    Hint() = default;
    // initWithText:duration:identifier:
    Hint(QString text, float duration, QString identifier);

    static const PersistentClass& staticPersistentClass();
    const PersistentClass& persistentClass() const override;

    // Prepares the database and creates or refreshes every hint of the catalogue.
    static void loadHints();
    // The stored hint of that identifier with its text and duration replaced in memory, or a new
    // hint with these values, saved at once.
    static std::shared_ptr<Hint> hintWithText(const QString& text, int duration, const QString& identifier);
    // The stored hint of that identifier, or null; the same object every time.
    static std::shared_ptr<Hint> hintByIdentifier(const QString& identifier);
    // Switches all hints on or off; switching off resets every stored hint.
    static void setEnabled(bool enabled);
    static bool hintsEnabled();
    // Hides the panel if it is on screen.
    static void hiddenAnyOpenHint();
    // The panel, or null until the user-interface layer installs one.
    static std::shared_ptr<HintPresenter> hintView();
    static void setPresenter(std::shared_ptr<HintPresenter> presenter);
    // Makes the settings' hints switch apply its new value here.
    static void connectSetting(HintsSetting& setting);

    // "orvella.sqlite" in the data folder.
    static QString writableDatabasePath();
    // Copies the shipped database to the writable path when none is there yet, points the
    // object store at it and reads whether hints are enabled from the settings.
    static void createEditableCopyOfDatabaseIfNeeded();
    // The shipped database: "orvella.sqlite" beside the executable or in its "resources"
    // folder, unless set (an empty path means none is shipped).
    static QString shippedDatabasePath();
    static void setShippedDatabasePath(const QString& path);

    // Counts one occurrence of the hint's situation and shows the hint when its time has come.
    void trigger();
    // Shows the hint in the panel and hides the panel after `duration` seconds.
    void show();
    // Marks the hint as never to be shown again (only while hints are switched on).
    void invalidate();
    // Makes the hint valid again with a count of 0.
    void reset();

    const QString& identifier() const { return m_identifier; }
    void setIdentifier(const QString& identifier) { assign(m_identifier, identifier); }
    const QString& text() const { return m_text; }
    void setText(const QString& text) { assign(m_text, text); }
    float duration() const { return m_duration; }
    void setDuration(float duration) { assign(m_duration, duration); }
    bool invalid() const { return m_invalid; }
    void setInvalid(bool invalid) { assign(m_invalid, invalid); }
    int triggerCount() const { return m_triggerCount; }
    void setTriggerCount(int triggerCount) { assign(m_triggerCount, triggerCount); }
    bool onlyShowFirstTime() const { return m_onlyShowFirstTime; }
    void setOnlyShowFirstTime(bool onlyShowFirstTime) { assign(m_onlyShowFirstTime, onlyShowFirstTime); }
    // Not stored: the panel sits in the upper half of the screen.
    bool alignsOnTop() const { return m_alignsOnTop; }
    void setAlignsOnTop(bool alignsOnTop) { m_alignsOnTop = alignsOnTop; }

private:
    QString m_identifier;
    QString m_text;
    float m_duration = 0.0f;
    bool m_invalid = false;
    int m_triggerCount = 0;
    bool m_onlyShowFirstTime = false;
    bool m_alignsOnTop = false;
};
