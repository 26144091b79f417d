#include "ui/Mountform/FolderListLogic.h"

FolderListLogic NetworkDriveFolders;
