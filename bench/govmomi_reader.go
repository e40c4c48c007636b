// govmomi-reader reads every VM's record properties from a vSphere endpoint with govmomi's client library, as a Go
// program would: one container view of the VMs, one retrieval of the given paths, then one retrieval of the hosts
// (with their clusters), networks and datastores those VMs name. It is the reference bench_vim_records measures the
// bridge against, on the same endpoint and with the same property paths.
package main

import (
	"context"
	"flag"
	"fmt"
	"log"
	"net/http"
	"net/url"
	"os"
	"sort"
	"strings"
	"sync/atomic"
	"time"

	"github.com/vmware/govmomi/property"
	"github.com/vmware/govmomi/session"
	"github.com/vmware/govmomi/view"
	"github.com/vmware/govmomi/vim25"
	"github.com/vmware/govmomi/vim25/methods"
	"github.com/vmware/govmomi/vim25/mo"
	"github.com/vmware/govmomi/vim25/soap"
	"github.com/vmware/govmomi/vim25/types"
)

var (
	endpoint   = flag.String("url", "", "https://HOST:PORT/sdk (required)")
	user       = flag.String("user", "administrator@vsphere.local", "user name")
	password   = flag.String("password", "", "password")
	thumbprint = flag.String("thumbprint", "", "the server certificate's SHA-1 thumbprint")
	paths      = flag.String("paths", "name", "comma-separated VirtualMachine property paths")
	rounds     = flag.Int("rounds", 5, "reads of every VM; the best is reported")
	checks     = flag.Int("checks", 0, "SessionIsActive calls to time (0: none)")
)

// counting counts the HTTP round trips of the SOAP client.
type counting struct {
	inner http.RoundTripper
	n     int64
}

func (c *counting) RoundTrip(r *http.Request) (*http.Response, error) {
	atomic.AddInt64(&c.n, 1)
	return c.inner.RoundTrip(r)
}

func main() {
	flag.Parse()
	if *endpoint == "" {
		flag.Usage()
		os.Exit(2)
	}
	if err := run(context.Background()); err != nil {
		log.Fatal(err)
	}
}

func run(ctx context.Context) error {
	u, err := url.Parse(*endpoint)
	if err != nil {
		return err
	}
	sc := soap.NewClient(u, false)
	sc.SetThumbprint(u.Host, *thumbprint)
	wire := &counting{inner: sc.Client.Transport}
	sc.Client.Transport = wire
	vc, err := vim25.NewClient(ctx, sc)
	if err != nil {
		return err
	}
	sm := session.NewManager(vc)
	if err = sm.Login(ctx, url.UserPassword(*user, *password)); err != nil {
		return err
	}
	defer sm.Logout(ctx)

	if *checks > 0 {
		current, err := sm.UserSession(ctx)
		if err != nil || current == nil {
			return fmt.Errorf("no current session: %v", err)
		}
		req := types.SessionIsActive{This: *vc.ServiceContent.SessionManager, SessionID: current.Key, UserName: current.UserName}
		start := time.Now()
		for i := 0; i < *checks; i++ {
			res, err := methods.SessionIsActive(ctx, vc, &req)
			if err != nil || !res.Returnval {
				return fmt.Errorf("SessionIsActive: %v", err)
			}
		}
		fmt.Printf("check_us=%.1f\n", float64(time.Since(start).Microseconds())/float64(*checks))
	}

	v, err := view.NewManager(vc).CreateContainerView(ctx, vc.ServiceContent.RootFolder, []string{"VirtualMachine"}, true)
	if err != nil {
		return err
	}
	defer v.Destroy(ctx)
	pc := property.DefaultCollector(vc)
	props := strings.Split(*paths, ",")
	best, vms, trips := time.Duration(0), 0, int64(0)
	for round := 0; round < *rounds; round++ {
		before := atomic.LoadInt64(&wire.n)
		start := time.Now()
		var all []mo.VirtualMachine
		if err := v.Retrieve(ctx, []string{"VirtualMachine"}, props, &all); err != nil {
			return err
		}
		related, err := readRelated(ctx, vc, pc, all)
		if err != nil {
			return err
		}
		spent := time.Since(start)
		if round == 0 || spent < best {
			best = spent
		}
		vms, trips = len(all), atomic.LoadInt64(&wire.n)-before
		if related == 0 && len(all) > 0 {
			return fmt.Errorf("no related objects read")
		}
	}
	fmt.Printf("vms=%d best_ms=%.3f round_trips=%d\n", vms, float64(best.Microseconds())/1000, trips)
	return nil
}

// readRelated reads the hosts (and their clusters), networks and datastores the VMs name, in one request.
func readRelated(ctx context.Context, vc *vim25.Client, pc *property.Collector, vms []mo.VirtualMachine) (int, error) {
	seen := map[types.ManagedObjectReference]bool{}
	var objects []types.ObjectSpec
	add := func(ref types.ManagedObjectReference, follow bool) {
		if seen[ref] {
			return
		}
		seen[ref] = true
		one := types.ObjectSpec{Obj: ref}
		if follow {
			one.SelectSet = []types.BaseSelectionSpec{&types.TraversalSpec{Type: "HostSystem", Path: "parent"}}
		}
		objects = append(objects, one)
	}
	for _, vm := range vms {
		if vm.Runtime.Host != nil {
			add(*vm.Runtime.Host, true)
		}
		for _, n := range vm.Network {
			add(n, false)
		}
		if vm.Config != nil {
			for _, d := range vm.Config.Hardware.Device {
				if disk, ok := d.(*types.VirtualDisk); ok {
					if b, ok := disk.Backing.(types.BaseVirtualDeviceFileBackingInfo); ok && b.GetVirtualDeviceFileBackingInfo().Datastore != nil {
						add(*b.GetVirtualDeviceFileBackingInfo().Datastore, false)
					}
				}
			}
		}
	}
	sort.Slice(objects, func(i, j int) bool { return objects[i].Obj.Value < objects[j].Obj.Value })
	req := types.RetrievePropertiesEx{
		This: pc.Reference(),
		SpecSet: []types.PropertyFilterSpec{{
			PropSet: []types.PropertySpec{
				{Type: "HostSystem", PathSet: []string{"name", "config.product.version", "config.product.build", "config.product.fullName", "runtime.connectionState", "parent"}},
				{Type: "ClusterComputeResource", PathSet: []string{"name"}},
				{Type: "Network", PathSet: []string{"name"}},
				{Type: "DistributedVirtualPortgroup", PathSet: []string{"name", "key"}},
				{Type: "Datastore", PathSet: []string{"name", "summary.type"}},
			},
			ObjectSet:                     objects,
			ReportMissingObjectsInResults: types.NewBool(true),
		}},
	}
	res, err := methods.RetrievePropertiesEx(ctx, vc, &req)
	if err != nil || res.Returnval == nil {
		return 0, err
	}
	return len(res.Returnval.Objects), nil
}
