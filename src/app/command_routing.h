// Where the commands of the character's context menu go. Platform-free: the window
// supplies the operations through CommandTarget.
#pragma once

class CommandTarget {
public:
    virtual void ToggleMove() = 0;
    virtual void Exit() = 0;
    virtual void ShowEditor() = 0;
    virtual void ShowPanel() = 0;
    virtual void PlayCurrent() = 0;
    virtual void StopPlayback() = 0;
    virtual void NextTrack() = 0;
    virtual void PreviousTrack() = 0;

protected:
    ~CommandTarget() = default;
};

// Starts the operation of `commandId`. Any other id, the editor's own commands
// among them, does nothing.
void RouteCommand(CommandTarget& target, int commandId);
