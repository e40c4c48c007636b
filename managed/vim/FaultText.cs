#if !NOCLASS && !EMPTY
using System;

namespace VISDKWrapper
{
    // The text GetLastErrorString shows for a server fault: the server's localized message when it says something,
    // else a text of our own from the fault's type and detail (some servers send only a type name, or nothing).
    static class FaultText
    {
        public static string Of(string type, string message, VimNode detail, string method)
        {
            if (Helpful(message, type)) return message;
            switch (type)
            {
                case "InvalidLogin": return "Cannot complete login due to an incorrect user name or password.";
                case "NotAuthenticated": return "The session is not authenticated.";
                case "NoPermission":
                    return "Permission to perform this operation was denied." + (detail.Str("privilegeId") != "" ? " (privilege '" + detail.Str("privilegeId") + "')" : "");
                case "InvalidPowerState": return InvalidPowerState(detail.Str("existingState"));
                case "ManagedObjectNotFound":
                    var obj = detail["obj"];
                    return "The object 'vim." + obj.Type + ":" + obj.Text + "' has already been deleted or has not been completely created";
                case "InvalidArgument":
                    return "A specified parameter was not correct: " + detail.Str("invalidProperty");
                case "InvalidState": return "The operation is not allowed in the current state.";
                case "NotSupported": return "The operation is not supported on the object.";
                case "NotImplemented":
                case "MethodNotFound": return "The server does not implement " + method + ".";
                case "DuplicateName": return "The name '" + detail.Str("name") + "' already exists.";
                case "InvalidName": return "The name '" + detail.Str("name") + "' is not valid.";
                case "FileNotFound": return "File " + detail.Str("file") + " was not found";
                case "FileAlreadyExists": return "Cannot complete the operation because the file or folder " + detail.Str("file") + " already exists";
                case "TaskInProgress": return "The operation is not allowed in the current state because the object is busy with another task.";
                case "RequestCanceled": return "The task was canceled by a user.";
                case "ToolsUnavailable": return "Cannot complete operation because VMware Tools is not running in this virtual machine.";
                case "InvalidDatastore": return "The datastore is not valid for this operation.";
                case "NotFound": return "The object or item referred to could not be found.";
                case "MethodDisabled":
                    return detail.Str("source") != "" ? "The method is disabled by '" + detail.Str("source") + "'" : "The method is disabled.";
                case "SnapshotDisabled": return "Snapshots are not allowed for this virtual machine.";
                case "TooManySnapshotLevels": return "Exceeded the maximum number of permitted snapshots.";
                case "InvalidDeviceSpec": return "Invalid configuration for device '" + detail.Str("deviceIndex") + "'.";
                case "GuestOperationsUnavailable": return "The guest operations agent could not be contacted.";
                case "InvalidGuestLogin": return "Failed to authenticate with the guest operating system using the supplied credentials.";
                case "GuestPermissionDenied": return "Insufficient permissions in guest operating system.";
                case "GuestProcessNotFound": return "The process " + detail.Str("pid") + " was not found in the guest.";
                case "NotADirectory": return "Operation failed because file '" + detail.Str("file") + "' is not a directory.";
                case "NotAFile": return "The file " + detail.Str("file") + " is not a regular file.";
                default: return "The server reported " + (type == "" ? "a fault" : type) + " for " + method + (message != "" ? ": " + message : ".");
            }
        }

        // A message that is no more than a type name ("*types.InvalidPowerState", "InvalidPowerState") says nothing.
        static bool Helpful(string message, string type)
        {
            if (string.IsNullOrWhiteSpace(message)) return false;
            var m = message.Trim();
            if (m.StartsWith("*types.", StringComparison.Ordinal) || m.StartsWith("types.", StringComparison.Ordinal)) return false;
            return m != type && m != type + "Fault" && m != "ServerFaultCode";
        }

        // The text of a VM in the wrong power state ("poweredOn", ...), as the server words it.
        public static string InvalidPowerState(string state)
        {
            return "The attempted operation cannot be performed in the current state (" + PowerState(state) + ").";
        }

        static string PowerState(string state)
        {
            switch (state)
            {
                case "poweredOn": return "Powered on";
                case "poweredOff": return "Powered off";
                case "suspended": return "Suspended";
                default: return state;
            }
        }
    }
}
#endif
