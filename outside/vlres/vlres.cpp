// VLRes.Dll, the stand-in of the dialog resource library. The setup program
// only loads it, and refuses to go on when it is missing; the stand-in
// dialogs draw nothing, so the module holds no resources and exports nothing.
