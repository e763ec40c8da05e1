#pragma once

#include <QString>
#include <optional>

// "dispPlace.cfg" in the data directory: the number of decimal places (0 to 4) with which the
// analysis page shows its results, one decimal digit of text. The global settings page writes it;
// the analysis page reads it each time it is entered. The unit never sees it.
class DispPlaceFile {
public:
    static constexpr char kFileName[] = "dispPlace.cfg";
    static constexpr int kMaxPlaces = 4;

    // dataDirectory: the data directory without a trailing separator.
    explicit DispPlaceFile(const QString& dataDirectory);

    QString Path() const { return path_; }

    // The number the file holds (leading blanks skipped, one decimal integer); nothing when the
    // file cannot be opened or does not begin with a number. The number is not range-checked:
    // each reader decides what a value outside 0 to 4 means.
    std::optional<int> Read() const;

private:
    QString path_;
};
