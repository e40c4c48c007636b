namespace VISDKWrapper
{
    // The privileges each kind of job needs on the inventory, as the account checks ask for them.
    static class Privileges
    {
        public static readonly string[] Backup =
        {
            "VirtualMachine.State.CreateSnapshot", "VirtualMachine.State.RemoveSnapshot", "VirtualMachine.Config.ChangeTracking",
            "VirtualMachine.Provisioning.DiskRandomRead", "VirtualMachine.Provisioning.GetVmFiles", "Datastore.Browse",
            "Global.DisableMethods", "Global.EnableMethods"
        };

        public static readonly string[] Restore =
        {
            "VirtualMachine.Inventory.Create", "VirtualMachine.Inventory.Register", "VirtualMachine.Config.AddNewDisk",
            "VirtualMachine.Config.Settings", "VirtualMachine.Interact.PowerOn", "VirtualMachine.Provisioning.DiskRandomAccess",
            "Datastore.AllocateSpace", "Datastore.FileManagement", "Resource.AssignVMToPool", "Network.Assign"
        };

        public static readonly string[] Snap =
        {
            "VirtualMachine.State.CreateSnapshot", "VirtualMachine.State.RemoveSnapshot", "VirtualMachine.State.RevertToSnapshot", "Datastore.Browse"
        };
    }
}
