' Captures one finger through the KV90 host control, then saves the person's
' fingers as an ANSI/NIST-ITL transaction and the finger as a PNG file.
' cscript record.vbs [installdir [outputfolder]]
Set host = CreateObject("KV90.FingerHost")
If WScript.Arguments.Count > 0 Then host.InstallDir = WScript.Arguments(0)
folder = "."
If WScript.Arguments.Count > 1 Then folder = WScript.Arguments(1)
host.QueueEvents = True
host.Open
host.SetPerson "0003", "WangWu"
Do
    Set e = host.NextEvent(60000)
    If e.Name = "" Or e.Name = "Closed" Then Err.Raise 1, , "no finger: " & e.Name
Loop Until e.Name = "Collected"
' The whole transaction for the receiving system: WSQ images, as Records.ini says.
host.SaveRecord "an2k", folder & "\0003.an2"
' The finger as bytes: a Byte array (VarType 8209, vbArray + vbByte), for a
' program that sends them on itself (ADODB.Stream, an HTTP request's Send).
png = host.FingerBytes(e.Slot, "png")
WScript.Echo "record " & folder & "\0003.an2, finger " & e.Slot & " as PNG bytes: VarType " & VarType(png)
host.SaveFinger e.Slot, "png", folder & "\0003_" & e.Slot & ".png"
host.Close
