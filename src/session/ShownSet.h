#pragma once
// The set a face shows, kept: every step ends with the ten working files
// written as one set, so a program left at any moment leaves the set before
// the step or the set after it.
#include <string>
#include <vector>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

enum class WhenUnchanged { Skip, Write };

// Port.txt, Group.txt and the channel files as the workspace holds them, as
// one set; joins a save point already open for the folder. Skip: nothing is
// written when the folder already holds every byte.
Status SaveShownSet(Workspace& ws, WhenUnchanged unchanged = WhenUnchanged::Skip);

// Stages the same files in the save point open for the workspace's folder.
// Port.txt or Group.txt among savedByStep keeps the bytes its step saved, as
// on the desktop (an import writes Group.txt before it lays out the groups).
void StageShownSet(Workspace& ws, const std::vector<std::string>& savedByStep = {});

}  // namespace corvane
