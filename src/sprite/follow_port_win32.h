// Following on the real screen: the cursor and the character window through USER32,
// the pictures through the window's sprite.
#pragma once

#include <windows.h>

#include "sprite/character_sprite.h"
#include "sprite/follow_controller.h"

class WindowFollowPort final : public FollowPort {
public:
    WindowFollowPort(HWND window, CharacterSprite& sprite) : window(window), sprite(sprite) {}

    ScreenPoint CursorPosition() override;
    ScreenRect WindowRectangle() override;
    void MoveWindowTo(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void LoadPose(Pose pose) override { sprite.LoadPose(pose); }
    void ApplyShape(int frame, bool redraw) override { sprite.ApplyShape(frame, redraw); }
    void AdvanceFrame() override { sprite.AdvanceFrame(); }
    int CurrentFrame() override { return sprite.CurrentFrame(); }

private:
    HWND window;
    CharacterSprite& sprite;
};
