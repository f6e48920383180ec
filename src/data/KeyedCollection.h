#pragma once

#include <QHash>
#include <QString>

#include <list>
#include <stdexcept>

// Raised when a keyed collection refuses an operation: adding a key it already
// holds, or reading or removing one it does not. The collection is unchanged.
class KeyError : public std::runtime_error
{
public:
    explicit KeyError(const QString &key, const char *what)
        : std::runtime_error(what)
        , mKey(key)
    {}
    QString key() const { return mKey; }

private:
    QString mKey;
};

// Values under exact, case-sensitive text keys, enumerated in order of
// addition. The list keeps the order and the hash finds a key's node, so
// add, lookup and remove stay constant-time however many entries there are.
template <typename T> class KeyedCollection
{
    using Items = std::list<T>;

public:
    using const_iterator = typename Items::const_iterator;

    void add(const QString &key, T value)
    {
        if (mIndex.contains(key))
            throw KeyError(key, "key already present");
        mItems.push_back(std::move(value));
        mIndex.insert(key, std::prev(mItems.end()));
    }

    const T &get(const QString &key) const
    {
        const auto found = mIndex.constFind(key);
        if (found == mIndex.cend())
            throw KeyError(key, "key not present");
        return *found.value();
    }

    void remove(const QString &key)
    {
        const auto found = mIndex.find(key);
        if (found == mIndex.end())
            throw KeyError(key, "key not present");
        mItems.erase(found.value());
        mIndex.erase(found);
    }

    bool contains(const QString &key) const { return mIndex.contains(key); }
    qsizetype count() const { return mIndex.size(); }

    const_iterator begin() const { return mItems.cbegin(); }
    const_iterator end() const { return mItems.cend(); }

private:
    Items mItems;
    QHash<QString, typename Items::iterator> mIndex;
};
