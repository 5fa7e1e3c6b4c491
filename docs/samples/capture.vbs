' Captures one finger through the KV90 host control, polling for its events.
Set host = CreateObject("KV90.FingerHost")
If WScript.Arguments.Count > 0 Then host.InstallDir = WScript.Arguments(0)
host.QueueEvents = True
host.Open
host.SetPerson "0002", "LiSi"
Do
    Set e = host.NextEvent(60000)
    If e.Name = "" Or e.Name = "Closed" Then Err.Raise 1, , "no finger: " & e.Name
Loop Until e.Name = "Collected"
WScript.Echo "finger " & e.Slot & ": " & e.PersonSlotFile
host.Close
