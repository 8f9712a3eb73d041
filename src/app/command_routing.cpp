#include "app/command_routing.h"

#include "resources/resource_ids.h"

void RouteCommand(CommandTarget& target, int commandId) {
    switch (commandId) {
    case ID_MOVE: target.ToggleMove(); break;
    case ID_EXIT: target.Exit(); break;
    case ID_PLAYLIST_EDITOR: target.ShowEditor(); break;
    case ID_CONTROL_PANEL: target.ShowPanel(); break;
    case ID_PLAY: target.PlayCurrent(); break;
    case ID_STOP: target.StopPlayback(); break;
    case ID_NEXT: target.NextTrack(); break;
    case ID_PREVIOUS: target.PreviousTrack(); break;
    default: break;
    }
}
