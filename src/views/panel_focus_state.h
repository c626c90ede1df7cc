#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration/qqmlintegration.h>

// The view state of one open panel that the mouse and the keyboard share:
// which section holds the keyboard focus, the selected to-do, the to-do being
// edited in place and whether the day header got the focus by Tab. A new one
// is made with every list view, so none of it survives closing the panel.
class PanelFocusState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ActiveSection focusedSection READ focusedSection WRITE setFocusedSection NOTIFY focusedSectionChanged)
    Q_PROPERTY(QString selectedItemID READ selectedItemID WRITE setSelectedItemID NOTIFY selectedItemIDChanged)
    Q_PROPERTY(QString editingItemID READ editingItemID WRITE setEditingItemID NOTIFY editingItemIDChanged)
    Q_PROPERTY(bool dateFocusedViaTab READ dateFocusedViaTab WRITE setDateFocusedViaTab NOTIFY dateFocusedViaTabChanged)

public:
    // NoSection: no element of the panel has the keyboard focus.
    enum ActiveSection { NoSection, Date, List, Input };
    Q_ENUM(ActiveSection)

    using QObject::QObject;

    ActiveSection focusedSection() const { return m_focusedSection; }
    // A change to any section but the header clears dateFocusedViaTab.
    void setFocusedSection(ActiveSection section);

    // Ids as text; empty for none.
    QString selectedItemID() const { return m_selectedItemID; }
    void setSelectedItemID(const QString &id);
    QString editingItemID() const { return m_editingItemID; }
    void setEditingItemID(const QString &id);

    bool dateFocusedViaTab() const { return m_dateFocusedViaTab; }
    void setDateFocusedViaTab(bool viaTab);

Q_SIGNALS:
    void focusedSectionChanged();
    void selectedItemIDChanged();
    void editingItemIDChanged();
    void dateFocusedViaTabChanged();

private:
    ActiveSection m_focusedSection = NoSection;
    QString m_selectedItemID;
    QString m_editingItemID;
    bool m_dateFocusedViaTab = false;
};
