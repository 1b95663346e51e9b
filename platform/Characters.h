#pragma once

#include <QString>

class Character;

// The collection of loaded characters, each known by the id it was loaded under.
class Characters
{
public:
    virtual ~Characters() = default;

    // Throws Failure, with a message naming the file and what is wrong with it.
    virtual void Load(const QString &id, const QString &file) = 0;
    // Throws Failure when no character was loaded under that id.
    virtual Character &Item(const QString &id) = 0;
};
