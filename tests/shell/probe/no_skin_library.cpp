// A library that loads but offers no SkinH_AttachRes, only another function.
extern "C" __declspec(dllexport) int SkinH_Detach() { return 0; }
