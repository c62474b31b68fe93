#include "tools/game/minimal_game.h"

#include "records/database.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "tools/records/project_writer.h"

const char* const kMinimalSystemIni = "Direct3D=0\r\nWindowMode=1\r\nShowFps=0\r\nExit\r\n";

bool WriteMinimalGame(cGameFolder& folder, const std::string& systemIni) {
    cDatabase db;
    CreateDefaultDatabase(db);
    cSystemData system;
    system.m_strTitle = "テストゲーム";
    cWorldMap map;
    bool ok = WriteProjectFiles(folder, db, system, map);
    return folder.WriteFile("System.ini", std::vector<uint8_t>(systemIni.begin(), systemIni.end())) && ok;
}
