// visdk-test-endpoint serves govmomi's vSphere API simulator on loopback for the SOAP client's tests.
package main

import (
	"crypto/tls"
	"encoding/pem"
	"flag"
	"fmt"
	"log"
	"net"
	"net/url"
	"os"
	"os/signal"
	"strings"
	"syscall"

	"github.com/vmware/govmomi/simulator"
	"visdk/testcert"
	// The tagging REST API (/rest) and the storage policy service (/pbm) beside /sdk, as a vCenter has them.
	_ "github.com/vmware/govmomi/pbm/simulator"
	_ "github.com/vmware/govmomi/vapi/simulator"
)

var (
	envPath  = flag.String("env", "", "file to write once listening (required); removed on exit")
	esx      = flag.Bool("esx", false, "serve a standalone ESX host instead of a vCenter")
	plain    = flag.Bool("http", false, "serve plain HTTP instead of HTTPS")
	port     = flag.Int("port", 0, "TCP port on 127.0.0.1 (0: any free one)")
	user     = flag.String("user", "administrator@vsphere.local", "the only user name Login accepts")
	password = flag.String("password", "visdk-pass", "the only password Login accepts")
	trace    = flag.String("trace", "", "append every SOAP request and response body to this file")
)

// The inventory's counts, under vcsim's flag names; -1 keeps the model's own.
var counts = []struct {
	name, usage string
	field       func(*simulator.Model) *int
	value       *int
}{
	{"dc", "datacenters", func(m *simulator.Model) *int { return &m.Datacenter }, nil},
	{"folder", "datacenters placed in folders", func(m *simulator.Model) *int { return &m.Folder }, nil},
	{"cluster", "clusters per datacenter", func(m *simulator.Model) *int { return &m.Cluster }, nil},
	{"host", "hosts per cluster", func(m *simulator.Model) *int { return &m.ClusterHost }, nil},
	{"standalone-host", "standalone hosts per datacenter", func(m *simulator.Model) *int { return &m.Host }, nil},
	{"pool", "child resource pools per cluster", func(m *simulator.Model) *int { return &m.Pool }, nil},
	{"vm", "VMs per cluster root pool and per standalone host (vCenter: 2 such places by default)",
		func(m *simulator.Model) *int { return &m.Machine }, nil},
	{"ds", "local datastores", func(m *simulator.Model) *int { return &m.Datastore }, nil},
	{"pg", "distributed port groups per datacenter", func(m *simulator.Model) *int { return &m.Portgroup }, nil},
}

func main() {
	for i := range counts {
		counts[i].value = flag.Int(counts[i].name, -1, counts[i].usage+"; -1 keeps the model's")
	}
	flag.Parse()
	if *envPath == "" || flag.NArg() > 0 {
		flag.Usage()
		os.Exit(2)
	}
	if err := run(); err != nil {
		log.Fatal(err)
	}
}

func run() error {
	// Removed last, so the file's disappearance tells a waiting stop.sh that everything else is gone.
	defer os.Remove(*envPath)
	model, kind := simulator.VPX(), "vpx"
	if *esx {
		model, kind = simulator.ESX(), "esx"
	}
	for _, count := range counts {
		if *count.value >= 0 {
			*count.field(model) = *count.value
		}
	}
	defer model.Remove()
	if err := model.Create(); err != nil {
		return fmt.Errorf("creating the inventory: %w", err)
	}
	vms := model.Count().Machine

	if *trace != "" {
		f, err := os.OpenFile(*trace, os.O_CREATE|os.O_WRONLY|os.O_APPEND, 0o644)
		if err != nil {
			return err
		}
		defer f.Close()
		simulator.Trace, simulator.TraceFile = true, f
	}
	// A user object of our own: the simulator accepts any credentials only while given its default one.
	model.Service.Listen = &url.URL{Host: net.JoinHostPort("127.0.0.1", fmt.Sprint(*port)), User: url.UserPassword(*user, *password)}
	thumbprint, certPath := "", ""
	if !*plain {
		cert, print, err := testcert.New("VISDKCppBridge test endpoint")
		if err != nil {
			return err
		}
		model.Service.TLS = &tls.Config{Certificates: []tls.Certificate{cert}}
		certPath = *envPath + ".pem"
		defer os.Remove(certPath)
		if err := os.WriteFile(certPath, pem.EncodeToMemory(&pem.Block{Type: "CERTIFICATE", Bytes: cert.Certificate[0]}), 0o644); err != nil {
			return err
		}
		thumbprint = print
	}
	model.Service.RegisterEndpoints = true
	server := model.Service.NewServer()
	defer server.Close()

	u := *server.URL
	u.User = nil
	lines := []string{
		"VISDK_ENDPOINT_URL=" + u.String(),
		"VISDK_ENDPOINT_HOST=" + u.Hostname(),
		"VISDK_ENDPOINT_PORT=" + u.Port(),
		"VISDK_ENDPOINT_THUMBPRINT=" + thumbprint,
		"VISDK_ENDPOINT_CERT=" + certPath,
		"VISDK_ENDPOINT_USER=" + *user,
		"VISDK_ENDPOINT_PASSWORD=" + *password,
		"VISDK_ENDPOINT_MODEL=" + kind,
		"VISDK_ENDPOINT_VMS=" + fmt.Sprint(vms),
		"VISDK_ENDPOINT_PID=" + fmt.Sprint(os.Getpid()),
		"VISDK_ENDPOINT_TRACE=" + *trace,
	}
	// Written under another name and renamed, so a reader sees the whole file or none.
	partial := *envPath + ".partial"
	if err := os.WriteFile(partial, []byte(strings.Join(lines, "\n")+"\n"), 0o644); err != nil {
		return err
	}
	if err := os.Rename(partial, *envPath); err != nil {
		return err
	}
	log.Printf("serving %s (%s model, %d VMs)", u.String(), kind, vms)

	stop := make(chan os.Signal, 1)
	signal.Notify(stop, syscall.SIGTERM, syscall.SIGINT)
	log.Printf("stopping on %v", <-stop)
	return nil
}
