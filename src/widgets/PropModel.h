// The grid's item model: group headers at the top level with their properties
// as children, two columns (name, value). Commits go through the host.
#pragma once

#include "widgets/Property.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

class EPropHost;

class EPropModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, ValueColumn = 1 };
    enum Role {
        PropertyRole = Qt::UserRole + 1, // const EProperty* as quintptr
    };

    explicit EPropModel(QObject* parent = nullptr);
    ~EPropModel() override;

    // Replaces all rows by what `host` populates (nothing for null).
    void SetHost(EPropHost* host);
    EPropHost* GetHost() const { return m_host; }

    // Asks the host to accept `value` for `prop`. An unchanged value is
    // accepted without asking. False when refused, disabled, or when another
    // change is still being decided (a message box of the host may move the
    // focus and end the editor a second time).
    bool Commit(const EProperty* prop, const QVariant& value);
    bool IsCommitting() const { return m_committing; }
    // Whether the last commit was refused.
    bool LastCommitRefused() const { return m_lastRefused; }

    bool IsEnabled(const EProperty* prop) const;

    int GetCount() const { return static_cast<int>(m_props.size()); }
    // Properties in the order the host added them.
    const EProperty* GetProperty(int ordinal) const;
    int GetOrdinal(const EProperty* prop) const;
    const EProperty* FindById(int id) const;
    // Bumped by every SetHost(): properties of an older generation are gone.
    quint64 GetGeneration() const { return m_generation; }

    const EProperty* PropertyAt(const QModelIndex& index) const;
    QModelIndex IndexOf(const EProperty* prop, int column = NameColumn) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // After the host accepted a change of the property with `id`.
    void PropertyAccepted(int id);

private:
    EPropHost* m_host = nullptr;
    std::vector<std::unique_ptr<EProperty>> m_props;
    std::vector<EProperty*> m_top;
    bool m_committing = false;
    bool m_lastRefused = false;
    quint64 m_generation = 0;
};
