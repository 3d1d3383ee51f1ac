#pragma once
// The integer tag a component carries: on the pages, the id of the project the control
// was last filled for (0: fill it again at the next showing).

#include <QObject>
#include <QVariant>

inline long long Tag(const QObject* component)
{
    return component->property("Tag").toLongLong();
}

inline void SetTag(QObject* component, long long tag)
{
    component->setProperty("Tag", tag);
}
