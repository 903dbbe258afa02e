#pragma once

#include <string>

namespace furrow {

// Makes the database's folder and files the server's user's alone, whatever the umask: the folder
// and any missing parent are created 0700, the database file is created 0600 before SQLite opens
// it (its -wal and -shm files take the database's mode), and files left readable by others are
// narrowed to their owner.
class DatabaseFiles
{
public:
    // Throws ServerError when the folder cannot be made.
    static void prepare(const std::string &databasePath);

private:
    static void makeFolder(const std::string &folder);
    static void createFile(const std::string &path);
    static void restrictToOwner(const std::string &path);
};

} // namespace furrow
