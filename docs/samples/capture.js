// Captures one finger through the KV90 host control, polling for its events.
var host = new ActiveXObject("KV90.FingerHost");
if (WScript.Arguments.length > 0) host.InstallDir = WScript.Arguments(0);
host.QueueEvents = true;
host.Open();
host.SetPerson("0001", "ZhangSan");
for (var e = host.NextEvent(60000); e.Name != "Collected"; e = host.NextEvent(60000))
    if (e.Name == "" || e.Name == "Closed") throw new Error("no finger: " + e.Name);
WScript.Echo("finger " + e.Slot + ": " + e.PersonSlotFile);
host.Close();
