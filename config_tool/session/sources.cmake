target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/session/AuditLog.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/BackupChecks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/BackupIds.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/BackupManifest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/Backups.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/ChangeSet.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/ConfigSession.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/InstallationLock.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/LoadedFiles.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/RegistryBackupText.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/Rollback.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/SaveGuard.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/SaveSequences.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/SaveTransaction.cpp
)
