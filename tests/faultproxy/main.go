// visdk-fault-proxy stands on loopback between the SOAP client and the test endpoint and misbehaves on request: it
// drops, stalls, trickles, truncates or replaces answers, and ends sessions, by rules set over a small control API.
package main

import (
	"bufio"
	"bytes"
	"crypto/tls"
	"encoding/json"
	"encoding/pem"
	"encoding/xml"
	"flag"
	"fmt"
	"io"
	"log"
	mrand "math/rand"
	"net"
	"net/http"
	"net/url"
	"os"
	"os/signal"
	"strings"
	"sync"
	"syscall"
	"time"

	"visdk/testcert"
)

var (
	envPath      = flag.String("env", "", "file to write once listening (required); removed on exit")
	upstreamURL  = flag.String("upstream", "", "the endpoint's URL (https://127.0.0.1:PORT/sdk)")
	upstreamEnv  = flag.String("upstream-env", "", "the endpoint's env file, naming its URL (instead of -upstream)")
	rulesFlag    = flag.String("rules", "", "rules in force from the start (the control API's JSON)")
	maxSoapBytes = flag.Int64("max-request", 64<<20, "largest SOAP request read whole to find its method")
)

// A rule: for requests of Method ("*": any), either the next Count of them or each with probability Rate, gets one
// of Kinds (drawn with the rule's own seeded generator when several).
type Rule struct {
	Method    string   `json:"method"`
	Kind      string   `json:"kind,omitempty"`
	Kinds     []string `json:"kinds,omitempty"`
	Variant   string   `json:"variant,omitempty"`
	Count     int      `json:"count,omitempty"`
	Rate      float64  `json:"rate,omitempty"`
	Seed      int64    `json:"seed,omitempty"`
	StallMs   int64    `json:"stallMs,omitempty"`   // stall, trickle: when to give up and close (0: when the client leaves)
	NoForward bool     `json:"noForward,omitempty"` // stall: without sending the request on
	TrickleMs int64    `json:"trickleMs,omitempty"` // trickle: the pause between bytes (default 1000)
	Bytes     int64    `json:"bytes,omitempty"`     // huge: the body's text (default 1 GiB)
	rng       *mrand.Rand
}

var knownKinds = map[string]bool{
	"reset_before": true, "reset_after": true, "stall": true, "trickle": true, "http500": true, "http503": true,
	"truncate": true, "xml_bomb": true, "huge": true, "expire_session": true, "redirect_loop": true,
}

type Proxy struct {
	mu        sync.Mutex
	rules     []*Rule
	forwarded map[string]int
	faults    map[string]int
	events    []string // "METHOD kind", in order
	upstream  *url.URL
	client    *http.Transport
	port      int
	sessionMo string
	certs     map[string]tls.Certificate
	cert      string // the certificate served: "primary" or "alternate"
	tlsMax    uint16
	conns     map[net.Conn]bool
	done      chan struct{}
}

func main() {
	flag.Parse()
	if *envPath == "" || flag.NArg() > 0 || (*upstreamURL == "") == (*upstreamEnv == "") {
		flag.Usage()
		os.Exit(2)
	}
	if err := run(); err != nil {
		log.Fatal(err)
	}
}

func readEnvFile(path string) (map[string]string, error) {
	data, err := os.ReadFile(path)
	if err != nil {
		return nil, err
	}
	values := map[string]string{}
	for _, line := range strings.Split(string(data), "\n") {
		if k, v, ok := strings.Cut(line, "="); ok {
			values[k] = v
		}
	}
	return values, nil
}

func run() error {
	defer os.Remove(*envPath)
	target := *upstreamURL
	if *upstreamEnv != "" {
		values, err := readEnvFile(*upstreamEnv)
		if err != nil {
			return err
		}
		target = values["VISDK_ENDPOINT_URL"]
	}
	u, err := url.Parse(target)
	if err != nil || u.Host == "" {
		return fmt.Errorf("no upstream URL in %q", target)
	}
	p := &Proxy{
		forwarded: map[string]int{}, faults: map[string]int{}, upstream: u, conns: map[net.Conn]bool{},
		certs: map[string]tls.Certificate{}, cert: "primary", done: make(chan struct{}),
		// The upstream is our own endpoint on loopback: its certificate needs no check.
		client: &http.Transport{TLSClientConfig: &tls.Config{InsecureSkipVerify: true}, MaxIdleConnsPerHost: 64,
			DisableCompression: true, ResponseHeaderTimeout: 10 * time.Minute},
	}
	if *rulesFlag != "" {
		if err := p.setRules([]byte(*rulesFlag)); err != nil {
			return err
		}
	}
	thumbprints := map[string]string{}
	for _, name := range []string{"primary", "alternate"} {
		cert, thumbprint, err := testcert.New("VISDKCppBridge fault proxy " + name)
		if err != nil {
			return err
		}
		p.certs[name], thumbprints[name] = cert, thumbprint
	}
	certPath := *envPath + ".pem"
	defer os.Remove(certPath)
	pemData := pem.EncodeToMemory(&pem.Block{Type: "CERTIFICATE", Bytes: p.certs["primary"].Certificate[0]})
	if err := os.WriteFile(certPath, pemData, 0o644); err != nil {
		return err
	}

	listener, err := net.Listen("tcp", "127.0.0.1:0")
	if err != nil {
		return err
	}
	p.port = listener.Addr().(*net.TCPAddr).Port
	control, err := net.Listen("tcp", "127.0.0.1:0")
	if err != nil {
		return err
	}
	tlsConfig := &tls.Config{
		GetConfigForClient: func(*tls.ClientHelloInfo) (*tls.Config, error) {
			p.mu.Lock()
			defer p.mu.Unlock()
			// Old protocols are offered only while a test asks for them, to see the client refuse them.
			c := &tls.Config{Certificates: []tls.Certificate{p.certs[p.cert]}, MinVersion: tls.VersionTLS12}
			if p.tlsMax != 0 {
				c.MinVersion, c.MaxVersion = tls.VersionTLS10, p.tlsMax
			}
			return c, nil
		},
	}
	server := &http.Server{
		Handler: p,
		// HTTP/1.1 only: the faults work on the raw connection.
		TLSNextProto: map[string]func(*http.Server, *tls.Conn, http.Handler){},
		ConnState: func(c net.Conn, state http.ConnState) {
			p.mu.Lock()
			defer p.mu.Unlock()
			switch state {
			case http.StateNew:
				p.conns[c] = true
			case http.StateClosed, http.StateHijacked:
				delete(p.conns, c)
			}
		},
		ErrorLog: log.New(io.Discard, "", 0),
	}
	go server.Serve(tls.NewListener(listener, tlsConfig))
	go (&http.Server{Handler: http.HandlerFunc(p.control)}).Serve(control)

	controlPort := control.Addr().(*net.TCPAddr).Port
	lines := []string{
		fmt.Sprintf("VISDK_PROXY_URL=https://127.0.0.1:%d%s", p.port, u.Path),
		fmt.Sprintf("VISDK_PROXY_PORT=%d", p.port),
		fmt.Sprintf("VISDK_PROXY_CONTROL=http://127.0.0.1:%d", controlPort),
		fmt.Sprintf("VISDK_PROXY_CONTROL_PORT=%d", controlPort),
		"VISDK_PROXY_THUMBPRINT=" + thumbprints["primary"],
		"VISDK_PROXY_ALTERNATE_THUMBPRINT=" + thumbprints["alternate"],
		"VISDK_PROXY_CERT=" + certPath,
		"VISDK_PROXY_UPSTREAM=" + u.String(),
		fmt.Sprintf("VISDK_PROXY_PID=%d", os.Getpid()),
	}
	partial := *envPath + ".partial"
	if err := os.WriteFile(partial, []byte(strings.Join(lines, "\n")+"\n"), 0o644); err != nil {
		return err
	}
	if err := os.Rename(partial, *envPath); err != nil {
		return err
	}
	log.Printf("proxy https://127.0.0.1:%d for %s, control on %d", p.port, u.String(), controlPort)
	stop := make(chan os.Signal, 1)
	signal.Notify(stop, syscall.SIGTERM, syscall.SIGINT)
	log.Printf("stopping on %v", <-stop)
	close(p.done)
	return nil
}

func (p *Proxy) setRules(body []byte) error {
	var rules []*Rule
	if err := json.Unmarshal(body, &rules); err != nil {
		var one Rule
		if err2 := json.Unmarshal(body, &one); err2 != nil {
			return fmt.Errorf("rules are a JSON array of rules or one rule: %v", err)
		}
		rules = []*Rule{&one}
	}
	for _, r := range rules {
		if r.Kind != "" {
			r.Kinds = append([]string{r.Kind}, r.Kinds...)
		}
		if r.Method == "" || len(r.Kinds) == 0 || (r.Count <= 0 && r.Rate <= 0) || r.Rate > 1 {
			return fmt.Errorf("a rule needs a method, a kind, and a count or a rate in (0, 1]: %+v", *r)
		}
		for _, k := range r.Kinds {
			if !knownKinds[k] {
				return fmt.Errorf("unknown kind %q", k)
			}
		}
		r.rng = mrand.New(mrand.NewSource(r.Seed))
	}
	p.mu.Lock()
	p.rules = rules
	p.mu.Unlock()
	return nil
}

func (p *Proxy) control(w http.ResponseWriter, r *http.Request) {
	switch {
	case r.URL.Path == "/rules" && (r.Method == http.MethodPut || r.Method == http.MethodPost):
		body, _ := io.ReadAll(io.LimitReader(r.Body, 1<<20))
		if err := p.setRules(body); err != nil {
			http.Error(w, err.Error(), http.StatusBadRequest)
			return
		}
	case r.URL.Path == "/rules" && r.Method == http.MethodDelete:
		p.mu.Lock()
		p.rules = nil
		p.mu.Unlock()
	case r.URL.Path == "/counters" && r.Method == http.MethodGet:
		p.mu.Lock()
		body, _ := json.Marshal(map[string]interface{}{"forwarded": p.forwarded, "faults": p.faults, "events": p.events})
		p.mu.Unlock()
		w.Header().Set("Content-Type", "application/json")
		w.Write(body)
		return
	case r.URL.Path == "/counters" && r.Method == http.MethodDelete:
		p.mu.Lock()
		p.forwarded, p.faults, p.events = map[string]int{}, map[string]int{}, nil
		p.mu.Unlock()
	case r.URL.Path == "/tls" && (r.Method == http.MethodPut || r.Method == http.MethodPost):
		var setting struct {
			Certificate string `json:"certificate"`
			Max         string `json:"max"`
		}
		body, _ := io.ReadAll(io.LimitReader(r.Body, 1<<16))
		versions := map[string]uint16{"": 0, "1.0": tls.VersionTLS10, "1.1": tls.VersionTLS11, "1.2": tls.VersionTLS12}
		if err := json.Unmarshal(body, &setting); err != nil {
			http.Error(w, err.Error(), http.StatusBadRequest)
			return
		}
		max, known := versions[setting.Max]
		if _, ok := p.certs[setting.Certificate]; !known || (setting.Certificate != "" && !ok) {
			http.Error(w, "certificate is primary or alternate; max is 1.0, 1.1, 1.2 or empty", http.StatusBadRequest)
			return
		}
		p.mu.Lock()
		if setting.Certificate != "" {
			p.cert = setting.Certificate
		}
		p.tlsMax = max
		// Kept-alive connections would go on with the old handshake.
		for c := range p.conns {
			c.Close()
		}
		p.mu.Unlock()
	default:
		http.Error(w, "PUT/DELETE /rules, GET/DELETE /counters, PUT /tls", http.StatusNotFound)
		return
	}
	w.WriteHeader(http.StatusNoContent)
}

// soapMethod is the first element inside the envelope's Body ("" when there is none).
func soapMethod(body []byte) string {
	d := xml.NewDecoder(bytes.NewReader(body))
	inBody := false
	for {
		token, err := d.RawToken()
		if err != nil {
			return ""
		}
		if start, ok := token.(xml.StartElement); ok {
			if inBody {
				return start.Name.Local
			}
			inBody = start.Name.Local == "Body"
		}
	}
}

// pick decides the fault for one request: the first rule that fires, or none.
func (p *Proxy) pick(method string) (*Rule, string) {
	p.mu.Lock()
	defer p.mu.Unlock()
	for _, r := range p.rules {
		if r.Method != "*" && r.Method != method {
			continue
		}
		if r.Count > 0 {
			r.Count--
		} else if r.Rate <= 0 || r.rng.Float64() >= r.Rate {
			continue
		}
		kind := r.Kinds[r.rng.Intn(len(r.Kinds))]
		p.faults[kind]++
		p.events = append(p.events, method+" "+kind)
		return r, kind
	}
	return nil, ""
}

func (p *Proxy) ServeHTTP(w http.ResponseWriter, r *http.Request) {
	var body []byte
	method := r.Method + " /" + strings.SplitN(strings.TrimPrefix(r.URL.Path, "/"), "/", 2)[0]
	streamed := true
	if r.Method == http.MethodPost && strings.Contains(r.Header.Get("Content-Type"), "xml") && r.ContentLength <= *maxSoapBytes {
		var err error
		body, err = io.ReadAll(io.LimitReader(r.Body, *maxSoapBytes))
		if err != nil {
			return
		}
		if m := soapMethod(body); m != "" {
			method = m
		}
		streamed = false
	}
	rule, kind := p.pick(method)
	if rule == nil {
		p.count(method)
		p.forward(w, r, body, streamed)
		return
	}
	log.Printf("%s: %s %s", method, kind, rule.Variant)
	switch kind {
	case "reset_before":
		reset(hijack(w))
	case "reset_after":
		p.upstreamAnswer(r, body, streamed, method)
		reset(hijack(w))
	case "stall":
		if !rule.NoForward {
			p.upstreamAnswer(r, body, streamed, method)
		}
		if conn := hijack(w); conn != nil {
			if rule.Variant == "after_headers" {
				fmt.Fprintf(conn, "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: 1000\r\n\r\n")
			}
			p.silence(conn, time.Duration(rule.StallMs)*time.Millisecond)
			conn.Close()
		}
	case "trickle":
		conn, answer := p.replaceAnswer(w, r, body, streamed, method)
		if conn == nil {
			return
		}
		pause := time.Duration(rule.TrickleMs) * time.Millisecond
		if pause <= 0 {
			pause = time.Second
		}
		var giveUp <-chan time.Time
		if rule.StallMs > 0 {
			giveUp = time.After(time.Duration(rule.StallMs) * time.Millisecond)
		}
	bytewise:
		for i := range answer {
			if _, err := conn.Write(answer[i : i+1]); err != nil {
				break
			}
			select {
			case <-time.After(pause):
			case <-giveUp:
				break bytewise
			case <-p.done:
				break bytewise
			}
		}
		conn.Close()
	case "http500", "http503":
		status := 500
		if kind == "http503" {
			status = 503
		}
		if rule.Variant == "soap" {
			w.Header().Set("Content-Type", "text/xml; charset=utf-8")
			w.WriteHeader(status)
			io.WriteString(w, soapFault("SystemError", "A general system error occurred: injected by the fault proxy"))
		} else {
			w.Header().Set("Content-Type", "text/html")
			w.WriteHeader(status)
			fmt.Fprintf(w, "<html><head><title>%d %s</title></head><body><h1>%s</h1></body></html>", status,
				http.StatusText(status), http.StatusText(status))
		}
	case "truncate":
		if conn, answer := p.replaceAnswer(w, r, body, streamed, method); conn != nil {
			conn.Write(answer[:len(answer)/2])
			conn.Close()
		}
	case "xml_bomb":
		w.Header().Set("Content-Type", "text/xml; charset=utf-8")
		if rule.Variant == "external" {
			io.WriteString(w, `<?xml version="1.0" encoding="UTF-8"?>`+"\n"+`<!DOCTYPE soapenv:Envelope [<!ENTITY leak SYSTEM "file:///etc/passwd">]>`+
				envelope("<"+method+"Response xmlns=\"urn:vim25\"><returnval>&leak;</returnval></"+method+"Response>"))
			return
		}
		var dtd strings.Builder
		dtd.WriteString(`<?xml version="1.0" encoding="UTF-8"?>` + "\n" + `<!DOCTYPE soapenv:Envelope [<!ENTITY lol0 "lollollollollol">`)
		for i := 1; i <= 12; i++ {
			fmt.Fprintf(&dtd, `<!ENTITY lol%d "%s">`, i, strings.Repeat(fmt.Sprintf("&lol%d;", i-1), 10))
		}
		dtd.WriteString("]>")
		io.WriteString(w, dtd.String()+envelope("<"+method+"Response xmlns=\"urn:vim25\"><returnval>&lol12;</returnval></"+method+"Response>"))
	case "huge":
		size := rule.Bytes
		if size <= 0 {
			size = 1 << 30
		}
		head := `<?xml version="1.0" encoding="UTF-8"?><soapenv:Envelope xmlns:soapenv="http://schemas.xmlsoap.org/soap/envelope/"><soapenv:Body><` +
			method + `Response xmlns="urn:vim25"><returnval>`
		tail := "</returnval></" + method + "Response></soapenv:Body></soapenv:Envelope>"
		w.Header().Set("Content-Type", "text/xml; charset=utf-8")
		w.Header().Set("Content-Length", fmt.Sprint(int64(len(head))+size+int64(len(tail))))
		w.WriteHeader(200)
		io.WriteString(w, head)
		chunk := bytes.Repeat([]byte("x"), 64<<10)
		for left := size; left > 0; {
			n := int64(len(chunk))
			if left < n {
				n = left
			}
			if _, err := w.Write(chunk[:n]); err != nil {
				return
			}
			left -= n
		}
		io.WriteString(w, tail)
	case "expire_session":
		p.logout(r)
		p.count(method)
		p.forward(w, r, body, streamed)
	case "redirect_loop":
		location := fmt.Sprintf("https://127.0.0.1:%d%s", p.port, r.URL.RequestURI())
		if rule.Variant == "other_host" {
			location = fmt.Sprintf("https://127.0.0.2:%d%s", p.port, r.URL.RequestURI())
		}
		w.Header().Set("Location", location)
		w.WriteHeader(http.StatusFound)
	}
}

func (p *Proxy) count(method string) {
	p.mu.Lock()
	p.forwarded[method]++
	p.mu.Unlock()
}

func envelope(body string) string {
	return `<soapenv:Envelope xmlns:soapenv="http://schemas.xmlsoap.org/soap/envelope/"><soapenv:Body>` + body +
		`</soapenv:Body></soapenv:Envelope>`
}

func soapFault(kind, message string) string {
	return `<?xml version="1.0" encoding="UTF-8"?>` + envelope(`<soapenv:Fault><faultcode>ServerFaultCode</faultcode><faultstring>`+
		message+`</faultstring><detail><`+kind+`Fault xmlns="urn:vim25" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" `+
		`xsi:type="`+kind+`"><reason>`+message+`</reason></`+kind+`Fault></detail></soapenv:Fault>`)
}

func (p *Proxy) roundTrip(r *http.Request, body []byte, streamed bool, method string) (*http.Response, error) {
	target := *p.upstream
	target.Path, target.RawQuery = r.URL.Path, r.URL.RawQuery
	var reader io.Reader = bytes.NewReader(body)
	if streamed {
		reader = r.Body
	}
	out, err := http.NewRequest(r.Method, target.String(), reader)
	if err != nil {
		return nil, err
	}
	out.Header = r.Header.Clone()
	out.Header.Del("Connection")
	out.Header.Del("Expect")
	if streamed {
		out.ContentLength = r.ContentLength
	} else {
		out.ContentLength = int64(len(body))
	}
	resp, err := p.client.RoundTrip(out)
	if err != nil {
		log.Printf("%s: upstream: %v", method, err)
	}
	return resp, err
}

// upstreamAnswer lets the endpoint act on the request and reads its whole answer.
func (p *Proxy) upstreamAnswer(r *http.Request, body []byte, streamed bool, method string) (*http.Response, []byte, error) {
	resp, err := p.roundTrip(r, body, streamed, method)
	if err != nil {
		return nil, nil, err
	}
	defer resp.Body.Close()
	answer, err := io.ReadAll(resp.Body)
	return resp, answer, err
}

// replaceAnswer takes the client's connection over once the endpoint has answered, and sends the answer's head with
// its full length: the body is the caller's to spoil. No connection when the endpoint could not be reached.
func (p *Proxy) replaceAnswer(w http.ResponseWriter, r *http.Request, body []byte, streamed bool, method string) (net.Conn, []byte) {
	resp, answer, err := p.upstreamAnswer(r, body, streamed, method)
	if err != nil {
		reset(hijack(w))
		return nil, nil
	}
	conn := hijack(w)
	if conn != nil {
		writeHead(conn, resp, int64(len(answer)))
	}
	return conn, answer
}

func (p *Proxy) forward(w http.ResponseWriter, r *http.Request, body []byte, streamed bool) {
	resp, err := p.roundTrip(r, body, streamed, "")
	if err != nil {
		http.Error(w, "upstream: "+err.Error(), http.StatusBadGateway)
		return
	}
	defer resp.Body.Close()
	for name, values := range resp.Header {
		if name == "Connection" || name == "Keep-Alive" || name == "Transfer-Encoding" {
			continue
		}
		w.Header()[name] = values
	}
	w.WriteHeader(resp.StatusCode)
	io.Copy(w, resp.Body)
}

// logout ends the upstream session the request's cookie names, as an expiry on the server would.
func (p *Proxy) logout(r *http.Request) {
	cookie := r.Header.Get("Cookie")
	if cookie == "" {
		return
	}
	p.mu.Lock()
	manager := p.sessionMo
	p.mu.Unlock()
	if manager == "" {
		resp, err := p.call("", envelope(`<RetrieveServiceContent xmlns="urn:vim25"><_this type="ServiceInstance">ServiceInstance</_this></RetrieveServiceContent>`))
		if err != nil {
			return
		}
		if start := strings.Index(resp, "<sessionManager"); start >= 0 {
			rest := resp[start:]
			if open, end := strings.Index(rest, ">"), strings.Index(rest, "</sessionManager>"); open >= 0 && end > open {
				manager = rest[open+1 : end]
			}
		}
		p.mu.Lock()
		p.sessionMo = manager
		p.mu.Unlock()
	}
	p.call(cookie, envelope(`<Logout xmlns="urn:vim25"><_this type="SessionManager">`+manager+`</_this></Logout>`))
}

func (p *Proxy) call(cookie, body string) (string, error) {
	req, err := http.NewRequest(http.MethodPost, p.upstream.String(), strings.NewReader(body))
	if err != nil {
		return "", err
	}
	req.Header.Set("Content-Type", "text/xml; charset=utf-8")
	req.Header.Set("SOAPAction", `"urn:vim25/6.5"`)
	if cookie != "" {
		req.Header.Set("Cookie", cookie)
	}
	resp, err := p.client.RoundTrip(req)
	if err != nil {
		return "", err
	}
	defer resp.Body.Close()
	data, err := io.ReadAll(resp.Body)
	return string(data), err
}

func hijack(w http.ResponseWriter) net.Conn {
	conn, buffered, err := w.(http.Hijacker).Hijack()
	if err != nil {
		return nil
	}
	if buffered != nil {
		buffered.Flush()
	}
	return conn
}

// reset ends the connection with a TCP RST rather than an orderly close.
func reset(conn net.Conn) {
	if conn == nil {
		return
	}
	raw := conn
	if t, ok := conn.(*tls.Conn); ok {
		raw = t.NetConn()
	}
	if tcp, ok := raw.(*net.TCPConn); ok {
		tcp.SetLinger(0)
	}
	raw.Close()
}

// silence holds the connection without a word until the client leaves, the time is up (0: no limit) or we stop.
func (p *Proxy) silence(conn net.Conn, limit time.Duration) {
	if conn == nil {
		return
	}
	left := make(chan struct{})
	go func() {
		io.Copy(io.Discard, conn)
		close(left)
	}()
	var timer <-chan time.Time
	if limit > 0 {
		timer = time.After(limit)
	}
	select {
	case <-left:
	case <-timer:
	case <-p.done:
	}
}

// writeHead sends the upstream answer's status line and headers, with the whole answer's length.
func writeHead(conn net.Conn, resp *http.Response, length int64) {
	if conn == nil {
		return
	}
	b := bufio.NewWriter(conn)
	fmt.Fprintf(b, "HTTP/1.1 %s\r\n", resp.Status)
	for name, values := range resp.Header {
		if name == "Content-Length" || name == "Transfer-Encoding" || name == "Connection" {
			continue
		}
		for _, v := range values {
			fmt.Fprintf(b, "%s: %s\r\n", name, v)
		}
	}
	fmt.Fprintf(b, "Content-Length: %d\r\nConnection: close\r\n\r\n", length)
	b.Flush()
}
