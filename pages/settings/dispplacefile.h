#pragma once

#include <QString>
#include <optional>

// "dispPlace.cfg" in the data directory: how many decimal places the analysis page shows its
// results with. A program setting only; the unit never sees it.
//
// The file holds one decimal digit 0 to 4 and nothing else (no sign, no line end), for example
// the single character "2". Readers skip blanks around the digit. A file that is missing, holds
// anything else or a number outside 0..4 counts as absent: both pages then use kDefaultPlaces.
class DispPlaceFile {
public:
    static constexpr int kMaxPlaces = 4;
    static constexpr int kDefaultPlaces = 2;
    static constexpr char kFileName[] = "dispPlace.cfg";

    // The file in this folder (the data directory, without a trailing separator).
    explicit DispPlaceFile(const QString& folder);

    QString Path() const { return path_; }

    // The places the file holds; nothing when it is missing, unreadable or bad.
    std::optional<int> Read() const;
    // The places the file holds, or kDefaultPlaces.
    int Places() const { return Read().value_or(kDefaultPlaces); }
    // Replaces the file atomically; false (the old file kept) when places is outside 0..4 or the
    // file cannot be written.
    bool Write(int places) const;

    // The result format of a number of places: "0", "0.0" ... "0.0000"; "0.00" outside 0..4.
    static QString ResultFormat(int places);
    // The content a number of places is written as; nothing outside 0..4.
    static std::optional<QByteArray> Encode(int places);
    static std::optional<int> Decode(const QByteArray& content);

private:
    QString path_;
};
