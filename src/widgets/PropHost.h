// What the property grid asks of the object whose properties it shows.
#pragma once

#include <QString>
#include <QVariant>

class EPropList;
class EProperty;

class EPropHost {
public:
    virtual ~EPropHost() = default;

    // Adds the properties, in the order they are shown. Called each time the
    // host is set on a grid.
    virtual void Populate(EPropList& list) = 0;

    // The user committed `value` (a QString, or an int for a choice) for
    // `prop`. Return true to accept: the grid then shows the new value and
    // announces the change. Return false to refuse: the old value stays. The
    // host may show a message box here. It may also set itself (or another
    // host) on the grid again; `prop` is not used afterwards.
    virtual bool OnPropertyChanged(const EProperty& prop, const QVariant& value) = 0;

    // A disabled property is shown greyed and cannot be edited.
    virtual bool IsPropertyEnabled(const EProperty& prop) const {
        Q_UNUSED(prop);
        return true;
    }

    // What is wrong with the property's value, shown as a mark beside its
    // name; empty: nothing. Asked as rows are painted.
    virtual QString GetPropertyMark(const EProperty& prop) const {
        Q_UNUSED(prop);
        return {};
    }

    // The "..." button of a TeX field property was pressed. A host that
    // picks a value commits it with EPropCtrl::CommitValue().
    virtual void OnTexFieldButton(const EProperty& prop) { Q_UNUSED(prop); }
};
