#pragma once

#include <QFunctionPointer>
#include <QLibrary>
#include <QString>
#include <map>
#include <string>
#include <vector>

// One of the program's shared libraries, loaded by absolute path from the program's directory
// and bound entry by entry. A missing entry counts as a failed load.
class LibraryBinder {
public:
    LibraryBinder() = default;
    ~LibraryBinder();
    LibraryBinder(const LibraryBinder&) = delete;
    LibraryBinder& operator=(const LibraryBinder&) = delete;

    // Loads dir/fileName and binds every entry; on failure nothing stays loaded and
    // errorString() holds the system's text.
    bool load(const QString& dir, const QString& fileName, const std::vector<const char*>& entries);
    bool isLoaded() const { return library_.isLoaded(); }
    QString errorString() const { return error_; }
    QString fileName() const { return fileName_; }

    template <typename Fn>
    Fn entry(const char* name) const
    {
        const auto it = entries_.find(name);
        return it == entries_.end() ? nullptr : reinterpret_cast<Fn>(it->second);
    }

    // Shows the system's text, then "Unable to load <file>.", each in a plain message box.
    void reportLoadFailure() const;

    void unload();

    // The program's own directory, where the libraries are built and installed beside it.
    static QString programDir();

private:
    QLibrary library_;
    QString fileName_;
    QString error_;
    std::map<std::string, QFunctionPointer> entries_;
};
