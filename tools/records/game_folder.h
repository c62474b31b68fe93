// A game folder under a temporary root for tests: the folders "data\", "data\database\" and
// "user_data\" (and "default\" on request), files written by program path, and the current
// directory moved into the folder while it is entered (the program runs from its game folder).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cGameFolder {
public:
    // Makes a new empty folder "<base>/<tag>-XXXXXX" (base is created when missing).
    cGameFolder(const std::string& base, const std::string& tag);
    ~cGameFolder();
    cGameFolder(const cGameFolder&) = delete;
    cGameFolder& operator=(const cGameFolder&) = delete;

    const std::string& Root() const { return m_strRoot; }
    // Lays out "data\", "data\database\" and "user_data\".
    void MakeLayout();
    // Creates a folder (and its parents) given as a program path ("default\database").
    void MakeFolder(const std::string& programPath);
    // The host path of a program path inside the folder ("data\System.dat").
    std::string HostPath(const std::string& programPath) const;
    // Writes a file by program path (parents created).
    bool WriteFile(const std::string& programPath, const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> ReadFile(const std::string& programPath) const;
    bool Exists(const std::string& programPath) const;

    // Makes the folder the current directory until Leave (or destruction).
    void Enter();
    void Leave();
    // Removes the folder and everything in it.
    void Remove();

private:
    std::string m_strRoot;
    std::string m_strPrevDir;
    bool m_bEntered = false;
};
