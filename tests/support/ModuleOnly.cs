// Deliberately empty: the assembly holds only its module row.
