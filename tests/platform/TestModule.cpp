// A module loaded from a file by the loader tests.
extern "C" int TestModuleAnswer(int value)
{
    return value * 2 + 1;
}
