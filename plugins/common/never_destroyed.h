// A module's one object, built before any code runs and never torn down: at process
// exit the module's other threads are gone mid-work, and nothing of theirs may be
// touched; an unload lets go of what it must through DllMain.
#pragma once

template <typename T>
union NeverDestroyed {
    constexpr NeverDestroyed() : object() {}
    ~NeverDestroyed() {}

    T object;
};
