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
    Q_PROPERTY(Section focusedSection READ focusedSection WRITE setFocusedSection NOTIFY focusedSectionChanged)
    Q_PROPERTY(QString selectedItemId READ selectedItemId WRITE setSelectedItemId NOTIFY selectedItemIdChanged)
    Q_PROPERTY(QString editingItemId READ editingItemId WRITE setEditingItemId NOTIFY editingItemIdChanged)
    Q_PROPERTY(bool dateFocusedViaTab READ dateFocusedViaTab WRITE setDateFocusedViaTab NOTIFY dateFocusedViaTabChanged)

public:
    // NoSection: no element of the panel has the keyboard focus.
    enum Section { NoSection, DateSection, ListSection, InputSection };
    Q_ENUM(Section)

    using QObject::QObject;

    Section focusedSection() const { return m_focusedSection; }
    // A change to any section but the header clears dateFocusedViaTab.
    void setFocusedSection(Section section);

    // Ids as text; empty for none.
    QString selectedItemId() const { return m_selectedItemId; }
    void setSelectedItemId(const QString &id);
    QString editingItemId() const { return m_editingItemId; }
    void setEditingItemId(const QString &id);

    bool dateFocusedViaTab() const { return m_dateFocusedViaTab; }
    void setDateFocusedViaTab(bool viaTab);

Q_SIGNALS:
    void focusedSectionChanged();
    void selectedItemIdChanged();
    void editingItemIdChanged();
    void dateFocusedViaTabChanged();

private:
    Section m_focusedSection = NoSection;
    QString m_selectedItemId;
    QString m_editingItemId;
    bool m_dateFocusedViaTab = false;
};
